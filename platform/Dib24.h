#pragma once
// The header of a 24-bit top-down device-independent bitmap (BI_RGB, no
// colour table): row 0 first in memory, rows BmpStride24(width) bytes apart.
#include <windows.h>

namespace tabulon {

inline BITMAPINFO TopDownHeader24(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace tabulon
