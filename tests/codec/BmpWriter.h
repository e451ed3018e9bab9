#pragma once
// Builds BMP files of any kind byte by byte, so the tests can state exactly
// what the decoder is given, including files no encoder would write.
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace bmptest {

using Bytes = std::vector<uint8_t>;

inline void Add16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8));
}
inline void Add32(Bytes& b, uint32_t v) {
    Add16(b, v), Add16(b, v >> 16);
}

struct Info {
    int32_t width = 0, height = 0;
    uint16_t planes = 1, bpp = 24;
    uint32_t compression = 0, sizeImage = 0, colorsUsed = 0;
    uint32_t headerSize = 40;    // 12 for the core header, 40, 108 (V4) or 124 (V5)
    std::vector<uint32_t> masks; // inside a V4/V5 header, or after a 40-byte one
};

inline Bytes InfoHeader(const Info& i) {
    Bytes b;
    Add32(b, i.headerSize);
    if (i.headerSize == 12) {
        Add16(b, uint32_t(i.width)), Add16(b, uint32_t(i.height)), Add16(b, i.planes),
            Add16(b, i.bpp);
        return b;
    }
    Add32(b, uint32_t(i.width)), Add32(b, uint32_t(i.height));
    Add16(b, i.planes), Add16(b, i.bpp);
    Add32(b, i.compression), Add32(b, i.sizeImage), Add32(b, 2835), Add32(b, 2835);
    Add32(b, i.colorsUsed), Add32(b, 0);
    for (uint32_t m : i.masks)
        Add32(b, m);
    if (i.headerSize <= 4096)
        b.resize(std::max<size_t>(b.size(), i.headerSize), 0); // absurd sizes stay absurd
    return b;
}

// File header + info header + palette (+ masks) + pixel data; the offset
// field points at the pixel data unless `offset` overrides it.
inline Bytes File(const Info& info, const Bytes& palette, const Bytes& pixels,
                  int64_t offset = -1) {
    const Bytes header = InfoHeader(info);
    const uint32_t start = uint32_t(14 + header.size() + palette.size());
    Bytes b{'B', 'M'};
    Add32(b, uint32_t(start + pixels.size()));
    Add32(b, 0);
    Add32(b, offset < 0 ? start : uint32_t(offset));
    b.insert(b.end(), header.begin(), header.end());
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// Palette entries B,G,R(,0) made from 0xRRGGBB values.
inline Bytes Palette(std::initializer_list<uint32_t> colours, bool core = false) {
    Bytes b;
    for (uint32_t c : colours) {
        b.push_back(uint8_t(c)), b.push_back(uint8_t(c >> 8)), b.push_back(uint8_t(c >> 16));
        if (!core) b.push_back(0);
    }
    return b;
}

} // namespace bmptest
