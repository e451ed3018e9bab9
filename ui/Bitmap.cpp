#include "ui/Bitmap.h"

#include "ui/BmpCodec.h"
#include "ui/FileIO.h"

#include <cstring>
#include <new>

namespace tabulon {

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0) throw Exception(L"Invalid bitmap size");
    ReleaseCanvas();
    section_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    stride_ = 0;
    if (width == 0 || height == 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 first in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiBitmap section(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) throw Exception(L"Out of system resources");
    section_ = std::move(section);
    bits_ = static_cast<uint8_t*>(bits);
    width_ = width;
    height_ = height;
    stride_ = BmpStride24(width);
}

void TBitmap::LoadFromBmpBytes(const uint8_t* data, size_t size) {
    BmpImage image = DecodeBmp(data, size);
    TBitmap fresh;
    fresh.SetSize(image.width, image.height);
    const size_t rowBytes = BmpStride24(image.width);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(fresh.bits_ + y * fresh.stride_, image.pixels.data() + y * rowBytes,
                    static_cast<size_t>(image.width) * 3);
    // Only a fully decoded picture replaces the old one.
    ReleaseCanvas();
    section_ = std::move(fresh.section_);
    bits_ = fresh.bits_;
    width_ = fresh.width_;
    height_ = fresh.height_;
    stride_ = fresh.stride_;
}

void TBitmap::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Remaining()));
    if (stream.Read(bytes.data(), bytes.size()) != bytes.size())
        throw EBmpError(L"Bitmap data is truncated");
    LoadFromBmpBytes(bytes.data(), bytes.size());
}

void TBitmap::LoadFromFile(const std::wstring& path) {
    const std::string bytes = ReadWholeFile(path);
    LoadFromBmpBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::vector<uint8_t> TBitmap::SaveToBmpBytes() const {
    ::GdiFlush();
    return EncodeBmp24(width_, height_, bits_, stride_);
}

void TBitmap::SaveToFile(const std::wstring& path) const {
    const std::vector<uint8_t> bytes = SaveToBmpBytes();
    WriteFileReplacing(path,
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TBitmap::Assign(const TGraphic& source) {
    if (const auto* bmp = dynamic_cast<const TBitmap*>(&source)) {
        ::GdiFlush();
        SetSize(bmp->width_, bmp->height_);
        if (bits_) std::memcpy(bits_, bmp->bits_, stride_ * static_cast<size_t>(height_));
        transparent_ = bmp->transparent_;
        return;
    }
    SetSize(source.Width(), source.Height());
    if (Empty()) return;
    HDC dc = Canvas();
    RECT all{0, 0, width_, height_};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    const_cast<TGraphic&>(source).Draw(dc, TRect{0, 0, width_, height_});
    ::GdiFlush();
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

HDC TBitmap::Canvas() {
    if (!canvas_) {
        if (Empty()) SetSize(1, 1);
        MemoryDC dc(::CreateCompatibleDC(nullptr));
        if (!dc) throw Exception(L"Out of system resources");
        canvasOld_ = ::SelectObject(dc.Get(), section_.Get());
        canvas_ = std::move(dc);
    }
    return canvas_.Get();
}

HBITMAP TBitmap::Handle() {
    ReleaseCanvas();
    return section_.Get();
}

void TBitmap::ReleaseCanvas() {
    if (!canvas_) return;
    ::GdiFlush();
    ::SelectObject(canvas_.Get(), canvasOld_);
    canvasOld_ = nullptr;
    canvas_.Reset();
}

uint8_t* TBitmap::ScanLine(int y) {
    ::GdiFlush();
    return bits_ + static_cast<size_t>(y) * stride_;
}

const uint8_t* TBitmap::ScanLine(int y) const {
    ::GdiFlush();
    return bits_ + static_cast<size_t>(y) * stride_;
}

COLORREF TBitmap::TransparentColor() const {
    if (Empty()) return 0;
    const uint8_t* p = ScanLine(height_ - 1);
    return RGB(p[2], p[1], p[0]);
}

void TBitmap::Draw(NativeDC nativeDC, const TRect& rect) {
    if (Empty()) return;
    HDC dc = static_cast<HDC>(nativeDC);
    ::GdiFlush();
    if (transparent_) {
        ::TransparentBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), Canvas(), 0, 0,
                         width_, height_, TransparentColor());
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    ::StretchDIBits(dc, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, width_, height_,
                    bits_, &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace tabulon
