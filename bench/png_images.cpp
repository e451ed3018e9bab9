#include "bench/png_images.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace bench {

namespace {

struct Writer {
    std::vector<uint8_t> out;
    static void Write(png_structp p, png_bytep data, png_size_t n) {
        auto* w = static_cast<Writer*>(png_get_io_ptr(p));
        w->out.insert(w->out.end(), data, data + n);
    }
    static void Flush(png_structp) {}
};

// Natural-looking content: smooth gradients with soft noise and a few hard
// edges, so that the filters have real work and zlib has neither a trivial nor
// an incompressible stream.
uint8_t Sample(int x, int y, int c, std::mt19937& rng) {
    const int grad = (x * (3 + c) + y * (5 - c)) >> 4;
    const int block = ((x >> 7) ^ (y >> 7)) & 1 ? 40 : 0;
    return uint8_t(grad + block + int(rng() % 9));
}

std::vector<uint8_t> Encode(int size, int colorType, int depth, bool interlaced) {
    png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(p);
    Writer w;
    if (setjmp(png_jmpbuf(p))) throw std::runtime_error("libpng write failed");
    png_set_write_fn(p, &w, Writer::Write, Writer::Flush);
    png_set_IHDR(p, info, size, size, depth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(p, 0, PNG_ALL_FILTERS);
    png_set_compression_level(p, 6);
    std::vector<png_color> palette(256);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < 256; ++i)
            palette[i] = {png_byte(i), png_byte(255 - i), png_byte((i * 7) & 255)};
        png_set_PLTE(p, info, palette.data(), 256);
    }
    png_write_info(p, info);
    if (depth == 16) png_set_swap(p); // rows below are little-endian samples
    const int channels = colorType == PNG_COLOR_TYPE_RGB    ? 3
                         : colorType == PNG_COLOR_TYPE_RGBA ? 4
                                                            : 1;
    const size_t rowBytes = size_t(size) * channels * (depth / 8);
    std::vector<uint8_t> image(rowBytes * size);
    std::mt19937 rng(1234);
    for (int y = 0; y < size; ++y) {
        uint8_t* row = &image[rowBytes * y];
        for (int x = 0; x < size; ++x)
            for (int c = 0; c < channels; ++c) {
                uint8_t v = Sample(x, y, c, rng);
                if (colorType == PNG_COLOR_TYPE_RGBA && c == 3) v = uint8_t(255 - ((x + y) >> 5));
                if (depth == 16) {
                    row[(x * channels + c) * 2] = uint8_t(rng());
                    row[(x * channels + c) * 2 + 1] = v;
                } else {
                    row[x * channels + c] = v;
                }
            }
    }
    std::vector<png_bytep> rows(size);
    for (int y = 0; y < size; ++y)
        rows[y] = &image[rowBytes * y];
    png_write_image(p, rows.data());
    png_write_end(p, info);
    png_destroy_write_struct(&p, &info);
    return std::move(w.out);
}

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

} // namespace

std::vector<NamedImage> MakeLargeImages(int size) {
    std::string s = std::to_string(size) + "x" + std::to_string(size);
    return {
        {"rgb8 " + s, Encode(size, PNG_COLOR_TYPE_RGB, 8, false)},
        {"rgba8 " + s, Encode(size, PNG_COLOR_TYPE_RGBA, 8, false)},
        {"palette8 " + s, Encode(size, PNG_COLOR_TYPE_PALETTE, 8, false)},
        {"grey16 " + s, Encode(size, PNG_COLOR_TYPE_GRAY, 16, false)},
        {"rgba8 adam7 " + s, Encode(size, PNG_COLOR_TYPE_RGBA, 8, true)},
    };
}

std::vector<NamedImage> LoadFolder(const std::string& folder) {
    std::vector<NamedImage> out;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".png") continue;
        std::ifstream f(entry.path(), std::ios::binary);
        out.push_back({entry.path().filename().string(),
                       std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {})});
    }
    std::sort(out.begin(), out.end(), [](auto& a, auto& b) { return a.name < b.name; });
    return out;
}

std::vector<uint8_t> IdatStream(const std::vector<uint8_t>& png, size_t* inflatedSize) {
    std::vector<uint8_t> idat;
    uint32_t width = 0, height = 0;
    int depth = 0, colorType = 0, interlace = 0;
    for (size_t pos = 8; pos + 12 <= png.size();) {
        const uint32_t len = Be32(&png[pos]);
        const char* type = reinterpret_cast<const char*>(&png[pos + 4]);
        const uint8_t* data = &png[pos + 8];
        if (pos + 12 + size_t(len) > png.size()) break;
        if (!std::memcmp(type, "IHDR", 4)) {
            width = Be32(data);
            height = Be32(data + 4);
            depth = data[8];
            colorType = data[9];
            interlace = data[12];
        } else if (!std::memcmp(type, "IDAT", 4)) {
            idat.insert(idat.end(), data, data + len);
        }
        pos += 12 + size_t(len);
    }
    const int channels[] = {1, 0, 3, 1, 2, 0, 4};
    const size_t bitsPerPixel = size_t(depth) * channels[colorType & 7];
    size_t total = 0;
    if (interlace) {
        static const int sx[] = {0, 4, 0, 2, 0, 1, 0}, sy[] = {0, 0, 4, 0, 2, 0, 1};
        static const int dx[] = {8, 8, 4, 4, 2, 2, 1}, dy[] = {8, 8, 8, 4, 4, 2, 2};
        for (int p = 0; p < 7; ++p) {
            const size_t w = width > uint32_t(sx[p]) ? (width - sx[p] + dx[p] - 1) / dx[p] : 0;
            const size_t h = height > uint32_t(sy[p]) ? (height - sy[p] + dy[p] - 1) / dy[p] : 0;
            if (w && h) total += h * ((w * bitsPerPixel + 7) / 8 + 1);
        }
    } else {
        total = size_t(height) * ((size_t(width) * bitsPerPixel + 7) / 8 + 1);
    }
    *inflatedSize = total;
    return idat;
}

} // namespace bench
