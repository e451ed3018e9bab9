#include "compose/CBmp.h"

#include "compose/BlendRows.h"
#include "ui/Exception.h"
#include "ui/Handles.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tabulon {
namespace {

// A 24-bit DIB section whose pixel memory the blend reads and writes directly.
struct DibSection24 {
    GdiBitmap bitmap;
    uint8_t* bits = nullptr;
};

BITMAPINFO TopDownHeader24(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

DibSection24 CreateDib24(const BITMAPINFO& info) {
    DibSection24 dib;
    void* bits = nullptr;
    dib.bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.bitmap || !bits)
        throw Exception(L"Out of memory: cannot create a " +
                        std::to_wstring(info.bmiHeader.biWidth) + L" x " +
                        std::to_wstring(-info.bmiHeader.biHeight) + L" picture to blend.");
    dib.bits = static_cast<uint8_t*>(bits);
    return dib;
}

bool BitmapSize(HBITMAP bitmap, int& width, int& height) {
    BITMAP bm{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof bm, &bm) != int(sizeof bm)) return false;
    width = bm.bmWidth;
    height = bm.bmHeight;
    return width > 0 && height > 0;
}

// Copies the width x height area of `second` at (left, top) into the top-down
// 24-bit rows of `out`. Only the rows the area meets are read from the bitmap,
// as bottom-up scan lines of its full width (GetDIBits numbers scan lines from
// the bottom). Pixels of the area outside `second` keep what `out` holds.
void ReadArea(HDC dc, HBITMAP second, int left, int top, int width, int height, uint8_t* out,
              size_t outStride) {
    int secondWidth = 0, secondHeight = 0;
    if (!BitmapSize(second, secondWidth, secondHeight)) return;
    // 64-bit sums: an origin near INT_MAX must not wrap around.
    const int rowFrom = std::max(top, 0);
    const int rowTo = int(std::min<long long>(secondHeight, 0LL + top + height));
    const int colFrom = std::max(left, 0);
    const int colTo = int(std::min<long long>(secondWidth, 0LL + left + width));
    if (rowFrom >= rowTo || colFrom >= colTo) return;

    const int rows = rowTo - rowFrom;
    BITMAPINFO info = TopDownHeader24(secondWidth, 0);
    info.bmiHeader.biHeight = secondHeight; // bottom-up
    const size_t stride = DibStride24(secondWidth);
    std::vector<uint8_t> band(stride * size_t(rows));
    const int firstScan = secondHeight - rowTo;
    const int got =
        ::GetDIBits(dc, second, UINT(firstScan), UINT(rows), band.data(), &info, DIB_RGB_COLORS);
    if (got != rows) return;

    const size_t bytes = size_t(colTo - colFrom) * 3;
    for (int row = rowFrom; row < rowTo; ++row) {
        // Band row 0 is the lowest scan line read, i.e. image row rowTo - 1.
        const uint8_t* src = band.data() + size_t(rowTo - 1 - row) * stride + size_t(colFrom) * 3;
        uint8_t* dst = out + size_t(row - top) * outStride + size_t(colFrom - left) * 3;
        std::memcpy(dst, src, bytes);
    }
}

} // namespace

void BlendBitmaps(HBITMAP first, HBITMAP second, HDC target, int weight, int x, int y, int secondX,
                  int secondY) {
    int width = 0, height = 0;
    if (!BitmapSize(first, width, height)) return;

    const BITMAPINFO info = TopDownHeader24(width, height);
    DibSection24 mixed = CreateDib24(info);
    DibSection24 beneath = CreateDib24(info);
    {
        // The display context only serves the format conversions of GetDIBits.
        MemoryDC display(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
        ::GetDIBits(display.Get(), first, 0, UINT(height), mixed.bits,
                    const_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        ReadArea(display.Get(), second, secondX, secondY, width, height, beneath.bits,
                 DibStride24(width));
    }
    // GDI may still be writing into a DIB section it drew on; flush before touching the bits.
    ::GdiFlush();
    BlendPixelRows(mixed.bits, beneath.bits, width, height, DibStride24(width), weight);

    ::SetDIBitsToDevice(target, x, y, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                        mixed.bits, &info, DIB_RGB_COLORS);
}

} // namespace tabulon
