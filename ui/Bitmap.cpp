#include "ui/Bitmap.h"

#include "codec/BmpCodec.h"
#include "platform/DibHeader.h"
#include "platform/FileIO.h"
#include "platform/FileMapping.h"
#include "platform/FileWriteInPlace.h"

#include <cstring>
#include <memory>

namespace tabulon {

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0) throw Exception(L"Invalid bitmap size");
    ReleaseCanvas();
    section_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    stride_ = 0;
    if (width == 0 || height == 0) return;
    BITMAPINFO info = TopDownHeader24(width, height);
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
    const BmpSize file = ReadBmpSize(data, size);
    if (!file.runLength && file.width == width_ && file.height == height_) {
        // Past ReadBmpSize, uncompressed pixels cannot fail to decode: they go
        // straight into the memory held, whose fresh pages would cost more
        // than the decoding itself.
        ::GdiFlush();
        DecodeBmpInto(data, size, bits_, stride_);
        return;
    }
    // Decoded straight into a new DIB section, so that only a fully decoded
    // picture replaces the old one.
    TBitmap fresh;
    fresh.SetSize(file.width, file.height);
    DecodeBmpInto(data, size, fresh.bits_, fresh.stride_);
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
    // Decoded from the file cache: no copy of the whole file on the way.
    const MappedFile file(path);
    LoadFromBmpBytes(file.Data(), file.Size());
}

std::vector<uint8_t> TBitmap::SaveToBmpBytes() const {
    ::GdiFlush();
    return EncodeBmp24(width_, height_, bits_, stride_);
}

namespace {

// The 24-bit BMP file of top-down rows, made slice by slice as it is written.
ByteProducer Bmp24Producer(int width, int height, const uint8_t* rows, size_t stride) {
    return [=](size_t offset, char* out, size_t n) {
        EncodeBmp24Part(width, height, rows, stride, offset, reinterpret_cast<uint8_t*>(out), n);
    };
}

} // namespace

void TBitmap::SaveToFile(const std::wstring& path) const {
    ::GdiFlush();
    WriteFileInPlace(path, BmpFileBytes24(width_, height_),
                     Bmp24Producer(width_, height_, bits_, stride_));
}

void TBitmap::SaveToFileReplacing(const std::wstring& path) const {
    ::GdiFlush();
    WriteFileReplacing(path, BmpFileBytes24(width_, height_),
                       Bmp24Producer(width_, height_, bits_, stride_));
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
        // gdi32's own entry: msimg32's TransparentBlt forwards to it, and
        // msimg32, no KnownDLL, could be planted beside the program.
        ::GdiTransparentBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), Canvas(), 0, 0,
                            width_, height_, TransparentColor());
        return;
    }
    BITMAPINFO info = TopDownHeader24(width_, height_);
    ::StretchDIBits(dc, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, width_, height_,
                    bits_, &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace tabulon
