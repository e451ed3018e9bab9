// Decode time of our PNG class against libpng, spng and stb_image in the same
// run, with the bare inflate of the same IDAT stream as the floor.
#include "bench/png_images.h"

#include <png.h>
#include <spng.h>
#include <stb_image.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

using bench::NamedImage;

bool DecodeOurs(const std::vector<uint8_t>& png); // png_bench_ours.cpp

namespace {

struct ReadState {
    const std::vector<uint8_t>* data;
    size_t pos;
};

bool DecodeLibpng(const std::vector<uint8_t>& data) {
    png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(p);
    std::vector<uint8_t> image;
    std::vector<png_bytep> rows;
    ReadState state{&data, 0};
    if (setjmp(png_jmpbuf(p))) {
        png_destroy_read_struct(&p, &info, nullptr);
        return false;
    }
    png_set_read_fn(p, &state, [](png_structp s, png_bytep out, png_size_t n) {
        auto* st = static_cast<ReadState*>(png_get_io_ptr(s));
        if (st->pos + n > st->data->size()) png_error(s, "short");
        std::memcpy(out, st->data->data() + st->pos, n);
        st->pos += n;
    });
    png_read_info(p, info);
    png_set_interlace_handling(p);
    png_read_update_info(p, info);
    const size_t rowBytes = png_get_rowbytes(p, info);
    const png_uint_32 height = png_get_image_height(p, info);
    image.resize(rowBytes * height);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = &image[rowBytes * y];
    png_read_image(p, rows.data());
    png_read_end(p, nullptr);
    png_destroy_read_struct(&p, &info, nullptr);
    return true;
}

bool DecodeSpng(const std::vector<uint8_t>& data) {
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_buffer(ctx, data.data(), data.size());
    size_t size = 0;
    bool ok = spng_decoded_image_size(ctx, SPNG_FMT_PNG, &size) == 0;
    if (ok) {
        std::vector<uint8_t> out(size);
        ok = spng_decode_image(ctx, out.data(), size, SPNG_FMT_PNG, 0) == 0;
    }
    spng_ctx_free(ctx);
    return ok;
}

bool DecodeStb(const std::vector<uint8_t>& data) {
    int w, h, n;
    unsigned char* pixels = stbi_load_from_memory(data.data(), int(data.size()), &w, &h, &n, 0);
    stbi_image_free(pixels);
    return pixels != nullptr;
}

// Inflates the IDAT stream into one buffer: what every decoder must at least do.
struct Floor {
    std::vector<uint8_t> idat;
    size_t inflated = 0;
    bool operator()(const std::vector<uint8_t>&) const {
        std::vector<uint8_t> out(inflated);
        z_stream z{};
        inflateInit(&z);
        z.next_in = const_cast<Bytef*>(idat.data());
        z.avail_in = uInt(idat.size());
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        const int r = inflate(&z, Z_FINISH);
        inflateEnd(&z);
        return r == Z_STREAM_END;
    }
};

using Decoder = std::function<bool(const std::vector<uint8_t>&)>;

// Best of several rounds, each round long enough to be measurable; in ms per decode
// of the whole batch.
double TimeBatch(const Decoder& decode, const std::vector<const std::vector<uint8_t>*>& batch) {
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        int reps = 0;
        auto start = std::chrono::steady_clock::now();
        double elapsed = 0;
        do {
            for (auto* img : batch)
                decode(*img);
            ++reps;
            elapsed =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        } while (elapsed < 200);
        best = std::min(best, elapsed / reps);
    }
    return best;
}

void Row(const char* name, double ours, double libpng, double spng, double stb, double floor) {
    std::printf("%-22s %9.2f %9.2f %9.2f %9.2f %9.2f   %6.2f %6.2f %6.2f\n", name, ours, libpng,
                spng, stb, floor, ours / libpng, ours / spng, floor > 0 ? ours / floor : 0.0);
}

} // namespace

int main(int argc, char** argv) {
    const std::string suite = argc > 1 ? argv[1] : "tests/data/pngsuite";
    const int size = argc > 2 ? std::atoi(argv[2]) : 4096;
    std::printf("PNG decode, ms per image (best of 5 rounds), same run\n");
    std::printf("%-22s %9s %9s %9s %9s %9s   %6s %6s %6s\n", "image", "ours", "libpng", "spng",
                "stb", "inflate", "/libpng", "/spng", "/floor");

    auto suiteImages = bench::LoadFolder(suite);
    std::vector<const std::vector<uint8_t>*> suiteBatch;
    size_t floorBatchBytes = 0;
    std::vector<Floor> floors;
    for (auto& img : suiteImages) {
        // Only images every decoder accepts take part (the suite here is all valid).
        if (!DecodeOurs(img.bytes) || !DecodeLibpng(img.bytes)) continue;
        suiteBatch.push_back(&img.bytes);
        Floor f;
        f.idat = bench::IdatStream(img.bytes, &f.inflated);
        floorBatchBytes += f.inflated;
        floors.push_back(std::move(f));
    }
    auto floorAll = [&](const std::vector<uint8_t>&) {
        for (auto& f : floors)
            f({});
        return true;
    };
    const std::vector<uint8_t> none;
    const double suiteFloor = TimeBatch(floorAll, {&none});
    char label[64];
    std::snprintf(label, sizeof label, "pngsuite (%zu files)", suiteBatch.size());
    Row(label, TimeBatch(DecodeOurs, suiteBatch), TimeBatch(DecodeLibpng, suiteBatch),
        TimeBatch(DecodeSpng, suiteBatch), TimeBatch(DecodeStb, suiteBatch), suiteFloor);

    for (auto& img : bench::MakeLargeImages(size)) {
        Floor floor;
        floor.idat = bench::IdatStream(img.bytes, &floor.inflated);
        if (!DecodeOurs(img.bytes)) {
            std::printf("%-22s our decoder failed\n", img.name.c_str());
            continue;
        }
        const std::vector<const std::vector<uint8_t>*> one{&img.bytes};
        Row(img.name.c_str(), TimeBatch(DecodeOurs, one), TimeBatch(DecodeLibpng, one),
            TimeBatch(DecodeSpng, one), TimeBatch(DecodeStb, one), TimeBatch(floor, one));
    }
    return 0;
}
