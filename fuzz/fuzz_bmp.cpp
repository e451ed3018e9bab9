// Feeds arbitrary bytes to the BMP decoder: it must either decode or raise
// EBmpError, never crash, hang or read outside the input.
#include "codec/BmpCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        // A low cap on run-length images keeps every input quick.
        const tabulon::BmpImage img = tabulon::DecodeBmp(data, size, size_t(1) << 18);
        if (img.width <= 0 || img.height <= 0 ||
            img.pixels.size() != tabulon::BmpStride24(img.width) * size_t(img.height))
            std::abort();
        // What was decoded must survive a write and a second read unchanged.
        const auto file = tabulon::EncodeBmp24(img.width, img.height, img.pixels.data(),
                                               tabulon::BmpStride24(img.width));
        if (tabulon::DecodeBmp(file.data(), file.size()).pixels != img.pixels) std::abort();
    } catch (const tabulon::EBmpError&) {
    }
    return 0;
}
