#include "PngBuilder.h"

#include <zlib.h>

#include <cstdlib>
#include <random>
#include <stdexcept>

namespace tabulon::test {

Bytes Deflate(const Bytes& raw, int level) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

uint32_t PngCrc(const std::string& type, const Bytes& data) {
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
    // crc32 with a null buffer restarts the CRC, so leave empty data out.
    if (!data.empty()) crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    return static_cast<uint32_t>(crc);
}

Bytes BigEndian32(uint32_t v) {
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

PngBuilder::PngBuilder() : bytes_{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A} {}

PngBuilder& PngBuilder::Chunk(const std::string& type, const Bytes& data) {
    return ChunkWithCrc(type, data, PngCrc(type, data));
}

PngBuilder& PngBuilder::ChunkWithCrc(const std::string& type, const Bytes& data, uint32_t crc) {
    Raw(BigEndian32(static_cast<uint32_t>(data.size())));
    bytes_.insert(bytes_.end(), type.begin(), type.begin() + 4);
    Raw(data);
    return Raw(BigEndian32(crc));
}

PngBuilder& PngBuilder::Ihdr(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                             uint8_t interlace, uint8_t compression) {
    Bytes data = BigEndian32(width);
    const Bytes h = BigEndian32(height);
    data.insert(data.end(), h.begin(), h.end());
    data.insert(data.end(), {depth, colourType, compression, 0, interlace});
    return Chunk("IHDR", data);
}

PngBuilder& PngBuilder::Idat(const Bytes& compressed, size_t piece) {
    if (piece == 0) return Chunk("IDAT", compressed);
    for (size_t at = 0; at < compressed.size(); at += piece) {
        const size_t n = std::min(piece, compressed.size() - at);
        Chunk("IDAT", Bytes(compressed.begin() + at, compressed.begin() + at + n));
    }
    return *this;
}

PngBuilder& PngBuilder::Iend() {
    return Chunk("IEND", {});
}

PngBuilder& PngBuilder::Raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

unsigned TestImage::Channels() const {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

TestImage RandomImage(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType,
                      unsigned seed) {
    TestImage image{width, height, depth, colourType, {}};
    std::mt19937 random(seed);
    image.samples.resize(size_t(width) * height * image.Channels());
    const uint32_t limit = depth == 16 ? 0x10000 : 1u << depth;
    for (auto& s : image.samples)
        s = static_cast<uint16_t>(random() % limit);
    return image;
}

namespace {

// Packs one row of pixels (given by column list) into bytes.
Bytes PackRow(const TestImage& image, uint32_t y, uint32_t x0, uint32_t step) {
    const unsigned channels = image.Channels();
    Bytes row;
    unsigned bitPos = 0;
    for (uint32_t x = x0; x < image.width; x += step) {
        for (unsigned c = 0; c < channels; ++c) {
            const uint16_t s = image.Sample(x, y, c);
            if (image.depth == 16) {
                row.push_back(uint8_t(s >> 8));
                row.push_back(uint8_t(s));
            } else if (image.depth == 8) {
                row.push_back(uint8_t(s));
            } else {
                if (bitPos % 8 == 0) row.push_back(0);
                row.back() |= uint8_t(s << (8 - image.depth - bitPos % 8));
                bitPos += image.depth;
            }
        }
    }
    return row;
}

int PaethPredictor(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    if (pb <= pc) return b;
    return c;
}

Bytes FilterRow(const Bytes& row, const Bytes& prior, int filter, size_t stride) {
    Bytes out{uint8_t(filter)};
    for (size_t i = 0; i < row.size(); ++i) {
        const int left = i >= stride ? row[i - stride] : 0;
        const int up = prior.empty() ? 0 : prior[i];
        const int upLeft = i >= stride && !prior.empty() ? prior[i - stride] : 0;
        int predictor = 0;
        switch (filter) {
        case 1:
            predictor = left;
            break;
        case 2:
            predictor = up;
            break;
        case 3:
            predictor = (left + up) / 2;
            break;
        case 4:
            predictor = PaethPredictor(left, up, upLeft);
            break;
        }
        out.push_back(uint8_t(row[i] - predictor));
    }
    return out;
}

} // namespace

Bytes Scanlines(const TestImage& image, int filter, bool interlaced) {
    const size_t stride = std::max<size_t>(1, image.Channels() * image.depth / 8);
    struct Pass {
        uint32_t row, col, rowStep, colStep;
    };
    const Pass plain[1] = {{0, 0, 1, 1}};
    const Pass adam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                           {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};
    const Pass* passes = interlaced ? adam7 : plain;
    const int count = interlaced ? 7 : 1;
    Bytes out;
    int rowNumber = 0;
    for (int p = 0; p < count; ++p) {
        const Pass& pass = passes[p];
        if (pass.col >= image.width) continue;
        Bytes prior;
        for (uint32_t y = pass.row; y < image.height; y += pass.rowStep) {
            const Bytes row = PackRow(image, y, pass.col, pass.colStep);
            const int f = filter >= 0 ? filter : rowNumber++ % 5;
            const Bytes filtered = FilterRow(row, prior, f, stride);
            out.insert(out.end(), filtered.begin(), filtered.end());
            prior = row;
        }
    }
    return out;
}

Bytes EncodePng(const TestImage& image, int filter, bool interlaced, size_t idatPiece) {
    PngBuilder png;
    png.Ihdr(image.width, image.height, image.depth, image.colourType, interlaced ? 1 : 0);
    if (image.colourType == 3) {
        Bytes palette;
        for (int i = 0; i < 256; ++i)
            palette.insert(palette.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
        png.Chunk("PLTE", palette);
    }
    png.Idat(Deflate(Scanlines(image, filter, interlaced)), idatPiece);
    png.Iend();
    return png.Get();
}

} // namespace tabulon::test
