#include "compose/CBmp.h"

#include "compose/BlendRows.h"
#include "ui/Exception.h"
#include "ui/Handles.h"

#include <algorithm>
#include <memory>
#include <new>
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

// The area of the second bitmap beneath the first: width x height pixels at
// (left, top). Only the rows the area meets are read, as 24-bit bottom-up scan
// lines of the bitmap's full width (GetDIBits numbers scan lines from the
// bottom), and mixed from where they lie. Pixels outside the bitmap, or of a
// bitmap that cannot be read, count as black.
class AreaBeneath {
  public:
    AreaBeneath(HDC dc, HBITMAP second, int left, int top, int width, int height)
        : left_(left), top_(top), width_(width), height_(height), black_(PixelRowBytes(width)) {
        Read(dc, second);
    }

    // The mix of row `row` of the area into `out`, a row of the first picture.
    void MixRow(const RowBlender& blender, uint8_t* out, int row) const {
        const long long y = top_ + row;
        if (!band_ || y < rowFrom_ || y >= rowTo_) {
            blender.Mix(out, black_.data(), black_.size());
            return;
        }
        // Columns [inFrom, inTo) of the area lie over the bitmap.
        const size_t inFrom = size_t(colFrom_ - left_), inTo = size_t(colTo_ - left_);
        // Band row 0 is the lowest scan line read, the bitmap's row rowTo - 1.
        const uint8_t* beneath =
            band_.get() + size_t(rowTo_ - 1 - y) * stride_ + size_t(colFrom_) * 3;
        blender.Mix(out, black_.data(), inFrom * 3);
        blender.Mix(out + inFrom * 3, beneath, (inTo - inFrom) * 3);
        blender.Mix(out + inTo * 3, black_.data(), (size_t(width_) - inTo) * 3);
    }

  private:
    void Read(HDC dc, HBITMAP second) {
        int secondWidth = 0, secondHeight = 0;
        if (!BitmapSize(second, secondWidth, secondHeight)) return;
        // 64-bit sums: an origin near INT_MAX must not wrap around.
        rowFrom_ = std::max(top_, 0LL);
        rowTo_ = std::min<long long>(secondHeight, top_ + height_);
        colFrom_ = std::max(left_, 0LL);
        colTo_ = std::min<long long>(secondWidth, left_ + width_);
        if (rowFrom_ >= rowTo_ || colFrom_ >= colTo_) return;

        const int rows = int(rowTo_ - rowFrom_);
        BITMAPINFO info = TopDownHeader24(secondWidth, 0);
        info.bmiHeader.biHeight = secondHeight; // bottom-up
        stride_ = DibStride24(secondWidth);
        // Every byte is written by GetDIBits: no need to clear the memory first.
        band_.reset(new (std::nothrow) uint8_t[stride_ * size_t(rows)]);
        if (!band_) throw Exception(L"Out of memory: cannot read the picture beneath the note.");
        const int got = ::GetDIBits(dc, second, UINT(secondHeight - rowTo_), UINT(rows),
                                    band_.get(), &info, DIB_RGB_COLORS);
        if (got != rows) band_.reset();
    }

    long long left_, top_;
    int width_, height_;
    std::vector<uint8_t> black_;
    std::unique_ptr<uint8_t[]> band_;
    size_t stride_ = 0;
    long long rowFrom_ = 0, rowTo_ = 0, colFrom_ = 0, colTo_ = 0;
};

} // namespace

void BlendBitmaps(HBITMAP first, HBITMAP second, HDC target, int weight, int x, int y, int secondX,
                  int secondY) {
    int width = 0, height = 0;
    if (!BitmapSize(first, width, height)) return;

    const BITMAPINFO info = TopDownHeader24(width, height);
    DibSection24 mixed = CreateDib24(info);
    {
        // The display context only serves the format conversions of GetDIBits.
        MemoryDC display(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
        ::GetDIBits(display.Get(), first, 0, UINT(height), mixed.bits,
                    const_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        const AreaBeneath beneath(display.Get(), second, secondX, secondY, width, height);
        // GDI may still be writing into a DIB section it drew on; flush before touching the bits.
        ::GdiFlush();
        const RowBlender blender(weight);
        for (int row = 0; row < height; ++row)
            beneath.MixRow(blender, mixed.bits + size_t(row) * DibStride24(width), row);
    }
    ::SetDIBitsToDevice(target, x, y, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                        mixed.bits, &info, DIB_RGB_COLORS);
}

} // namespace tabulon
