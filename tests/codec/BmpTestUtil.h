#pragma once
#include "codec/BmpCodec.h"

#include <cstdint>
#include <vector>

namespace bmptest {

inline tabulon::BmpImage Decode(const std::vector<uint8_t>& file) {
    return tabulon::DecodeBmp(file.data(), file.size());
}

// The pixel at (x, y), counted from the top left, as 0xRRGGBB.
inline uint32_t Pixel(const tabulon::BmpImage& img, int x, int y) {
    const uint8_t* p =
        img.pixels.data() + size_t(y) * tabulon::BmpStride24(img.width) + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// All pixels, row by row from the top.
inline std::vector<uint32_t> Pixels(const tabulon::BmpImage& img) {
    std::vector<uint32_t> out;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            out.push_back(Pixel(img, x, y));
    return out;
}

} // namespace bmptest
