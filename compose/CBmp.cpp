#include "compose/CBmp.h"
#include "codec/BmpCodec.h"

#include "compose/BlendRows.h"
#include "base/Exception.h"
#include "platform/DibHeader.h"
#include "platform/Handles.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace tabulon {
namespace {

bool BitmapSize(HBITMAP bitmap, int& width, int& height) {
    BITMAP bm{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof bm, &bm) != int(sizeof bm)) return false;
    width = bm.bmWidth;
    height = bm.bmHeight;
    return width > 0 && height > 0;
}

// A DC for GetDIBits, created only when a bitmap has to be read through GDI.
class ReadDC {
  public:
    HDC Get() {
        if (!dc_) dc_.Reset(::CreateCompatibleDC(nullptr));
        return dc_.Get();
    }

  private:
    MemoryDC dc_;
};

BITMAPINFO BottomUpHeader24(int width, int height) {
    BITMAPINFO info = TopDownHeader24(width, 0);
    info.bmiHeader.biHeight = height;
    return info;
}

// Rows of a bitmap: row y (from the top) starts at start + (y - first) * step.
struct PixelRows {
    const uint8_t* start = nullptr;
    long long first = 0;
    ptrdiff_t step = 0;
    const uint8_t* Row(long long y) const { return start + ptrdiff_t(y - first) * step; }
};

// The pixel memory of a 24-bit DIB section, read in place instead of through
// GetDIBits. The system does not say which way up a DIB section lies (the
// height it reports is positive either way), so one scan line is read through
// GDI and matched against memory: the first row that differs from its mirror
// row decides. A picture equal to its mirror reads the same either way up.
bool DirectRows(ReadDC& dc, HBITMAP bitmap, PixelRows& rows) {
    DIBSECTION ds{};
    if (::GetObjectW(bitmap, sizeof ds, &ds) != int(sizeof ds) || !ds.dsBm.bmBits) return false;
    if (ds.dsBmih.biBitCount != 24 || ds.dsBmih.biCompression != BI_RGB) return false;
    const int width = ds.dsBm.bmWidth, height = ds.dsBm.bmHeight;
    if (width <= 0 || height <= 0) return false;
    const size_t stride = BmpStride24(width), rowBytes = PixelRowBytes(width);
    ::GdiFlush();
    const auto* bits = static_cast<const uint8_t*>(ds.dsBm.bmBits);
    const auto memoryRow = [&](int i) { return bits + size_t(i) * stride; };
    bool topDown = true;
    for (int y = 0; y < height - 1 - y; ++y) {
        if (std::memcmp(memoryRow(y), memoryRow(height - 1 - y), rowBytes) == 0) continue;
        std::vector<uint8_t> line(stride);
        BITMAPINFO info = BottomUpHeader24(width, height);
        // Scan lines count from the bottom: picture row y is scan line height - 1 - y.
        if (::GetDIBits(dc.Get(), bitmap, UINT(height - 1 - y), 1, line.data(), &info,
                        DIB_RGB_COLORS) != 1)
            return false;
        if (std::memcmp(line.data(), memoryRow(y), rowBytes) == 0)
            topDown = true;
        else if (std::memcmp(line.data(), memoryRow(height - 1 - y), rowBytes) == 0)
            topDown = false;
        else
            return false;
        break;
    }
    rows.start = topDown ? bits : memoryRow(height - 1);
    rows.first = 0;
    rows.step = topDown ? ptrdiff_t(stride) : -ptrdiff_t(stride);
    return true;
}

// The area of the second bitmap beneath the first: width x height pixels at
// (left, top). A 24-bit DIB section is read where it lies; any other bitmap has
// only the rows the area meets read, as 24-bit bottom-up scan lines of its full
// width (GetDIBits numbers scan lines from the bottom). Pixels outside the
// bitmap, or of a bitmap that cannot be read, count as black.
class AreaBeneath {
  public:
    AreaBeneath(ReadDC& dc, HBITMAP second, int left, int top, int width, int height)
        : left_(left), top_(top), width_(width), height_(height), black_(PixelRowBytes(width)) {
        Read(dc, second);
    }

    // The mix of row `row` of the area into `out`, a row of the first picture.
    void MixRow(const RowBlender& blender, uint8_t* out, int row) const {
        const long long y = top_ + row;
        if (!readable_ || y < rowFrom_ || y >= rowTo_) {
            blender.Mix(out, black_.data(), black_.size());
            return;
        }
        // Columns [inFrom, inTo) of the area lie over the bitmap.
        const size_t inFrom = size_t(colFrom_ - left_), inTo = size_t(colTo_ - left_);
        const uint8_t* beneath = rows_.Row(y) + size_t(colFrom_) * 3;
        blender.Mix(out, black_.data(), inFrom * 3);
        blender.Mix(out + inFrom * 3, beneath, (inTo - inFrom) * 3);
        blender.Mix(out + inTo * 3, black_.data(), (size_t(width_) - inTo) * 3);
    }

  private:
    void Read(ReadDC& dc, HBITMAP second) {
        int secondWidth = 0, secondHeight = 0;
        if (!BitmapSize(second, secondWidth, secondHeight)) return;
        // 64-bit sums: an origin near INT_MAX must not wrap around.
        rowFrom_ = std::max(top_, 0LL);
        rowTo_ = std::min<long long>(secondHeight, top_ + height_);
        colFrom_ = std::max(left_, 0LL);
        colTo_ = std::min<long long>(secondWidth, left_ + width_);
        if (rowFrom_ >= rowTo_ || colFrom_ >= colTo_) return;
        if (DirectRows(dc, second, rows_)) {
            readable_ = true;
            return;
        }

        const int rows = int(rowTo_ - rowFrom_);
        BITMAPINFO info = BottomUpHeader24(secondWidth, secondHeight);
        const size_t stride = BmpStride24(secondWidth);
        // Every byte is written by GetDIBits: no need to clear the memory first.
        band_.reset(new (std::nothrow) uint8_t[stride * size_t(rows)]);
        if (!band_) throw Exception(L"Out of memory: cannot read the picture beneath the note.");
        const int got = ::GetDIBits(dc.Get(), second, UINT(secondHeight - rowTo_), UINT(rows),
                                    band_.get(), &info, DIB_RGB_COLORS);
        if (got != rows) return;
        // Band row 0 is the lowest scan line read, the bitmap's row rowTo - 1.
        rows_.start = band_.get() + size_t(rows - 1) * stride;
        rows_.first = rowFrom_;
        rows_.step = -ptrdiff_t(stride);
        readable_ = true;
    }

    long long left_, top_;
    int width_, height_;
    std::vector<uint8_t> black_;
    std::unique_ptr<uint8_t[]> band_;
    PixelRows rows_;
    bool readable_ = false;
    long long rowFrom_ = 0, rowTo_ = 0, colFrom_ = 0, colTo_ = 0;
};

// Memory for the mixed rows. Under Wine every fresh 4 KiB page costs a fault
// when first written, which for the note picture is most of the blend's time;
// so memory up to kKeptBytes stays for the next blend (each pin blends once).
// Bigger pictures get memory of their own, freed when the blend ends.
class MixMemory {
  public:
    explicit MixMemory(size_t bytes) {
        if (bytes > kKeptBytes) {
            own_.reset(new (std::nothrow) uint8_t[bytes]);
            data_ = own_.get();
            return;
        }
        thread_local std::unique_ptr<uint8_t[]> kept;
        thread_local size_t keptBytes = 0;
        if (keptBytes < bytes) {
            kept.reset(new (std::nothrow) uint8_t[kKeptBytes]);
            keptBytes = kept ? kKeptBytes : 0;
        }
        data_ = kept.get();
    }
    uint8_t* Get() const { return data_; }

  private:
    static constexpr size_t kKeptBytes = size_t(1) << 20;
    std::unique_ptr<uint8_t[]> own_;
    uint8_t* data_ = nullptr;
};

} // namespace

void BlendBitmaps(HBITMAP first, HBITMAP second, HDC target, int weight, int x, int y, int secondX,
                  int secondY) {
    int width = 0, height = 0;
    if (!BitmapSize(first, width, height)) return;

    const BITMAPINFO info = TopDownHeader24(width, height);
    const size_t stride = BmpStride24(width);
    // Every byte of a row is written below (its padding too), so the memory is not cleared.
    const auto outOfMemory = [&] {
        return Exception(L"Out of memory: cannot create a " + std::to_wstring(width) + L" x " +
                         std::to_wstring(height) + L" picture to blend.");
    };
    if (size_t(height) > SIZE_MAX / 2 / stride) throw outOfMemory();
    const MixMemory mixed(stride * size_t(height));
    if (!mixed.Get()) throw outOfMemory();
    {
        ReadDC dc;
        PixelRows firstRows;
        if (DirectRows(dc, first, firstRows)) {
            for (int row = 0; row < height; ++row) {
                uint8_t* out = mixed.Get() + size_t(row) * stride;
                std::memcpy(out, firstRows.Row(row), PixelRowBytes(width));
                std::memset(out + PixelRowBytes(width), 0, stride - PixelRowBytes(width));
            }
        } else if (::GetDIBits(dc.Get(), first, 0, UINT(height), mixed.Get(),
                               const_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height) {
            // A bitmap that cannot be read mixes as black.
            std::memset(mixed.Get(), 0, stride * size_t(height));
        }
        const AreaBeneath beneath(dc, second, secondX, secondY, width, height);
        const RowBlender blender(weight);
        for (int row = 0; row < height; ++row)
            beneath.MixRow(blender, mixed.Get() + size_t(row) * stride, row);
    }
    ::SetDIBitsToDevice(target, x, y, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                        mixed.Get(), &info, DIB_RGB_COLORS);
}

} // namespace tabulon
