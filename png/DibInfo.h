#pragma once
// A bitmap description with the byte layout of the Windows BITMAPINFO
// (BITMAPINFOHEADER followed by a 256-entry colour table), declared without
// Windows headers so that the decoder stays portable. On Windows it is handed
// to GDI as-is (reinterpret_cast to BITMAPINFO*).
#include <cstdint>

namespace tabulon {

struct TRgbQuad {
    uint8_t blue = 0, green = 0, red = 0, reserved = 0;
};

struct TDibInfo {
    uint32_t size = 0; // 40 once filled
    int32_t width = 0;
    int32_t height = 0; // positive: rows bottom-up
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0; // 0 = uncompressed RGB
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
    TRgbQuad colors[256];
};

static_assert(sizeof(TRgbQuad) == 4);
static_assert(sizeof(TDibInfo) == 40 + 256 * 4);

inline constexpr uint32_t kDibHeaderSize = 40;

} // namespace tabulon
