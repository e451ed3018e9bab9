#pragma once
// The header of a top-down device-independent bitmap (BI_RGB, no colour
// table): row 0 first in memory. 24-bit rows are BmpStride24(width) bytes
// apart; 32-bit rows (B, G, R and a fourth byte) 4 x width.
#include <windows.h>

namespace tabulon {

inline BITMAPINFO TopDownHeader(int width, int height, WORD bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

inline BITMAPINFO TopDownHeader24(int width, int height) {
    return TopDownHeader(width, height, 24);
}

inline BITMAPINFO TopDownHeader32(int width, int height) {
    return TopDownHeader(width, height, 32);
}

} // namespace tabulon
