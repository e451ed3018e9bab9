#include "ui/RgbaPicture.h"

#include "base/Exception.h"
#include "platform/DibHeader.h"
#include "platform/Handles.h"

#include <windows.h>

namespace tabulon {

namespace {

inline uint8_t Blend(unsigned source, unsigned alpha, unsigned dest) {
    // s·a/255 + d·(255−a)/255 in integers, exact for a = 0 and a = 255.
    return static_cast<uint8_t>((source * alpha + 255 + (255 - alpha) * dest) >> 8);
}

} // namespace

TRgbaPicture::TRgbaPicture(int width, int height, std::vector<uint8_t> rgba)
    : width_(width), height_(height), rgba_(std::move(rgba)), opaque_(true) {
    if (width_ < 0 || height_ < 0 || rgba_.size() != size_t(width_) * size_t(height_) * 4)
        throw Exception(L"RGBA picture data does not match its size");
    // In the DIB's byte order once, not at every paint.
    bgra_.resize(rgba_.size());
    for (size_t i = 0; i < rgba_.size(); i += 4) {
        bgra_[i] = rgba_[i + 2];
        bgra_[i + 1] = rgba_[i + 1];
        bgra_[i + 2] = rgba_[i];
        bgra_[i + 3] = rgba_[i + 3];
        opaque_ = opaque_ && rgba_[i + 3] == 255;
    }
}

void TRgbaPicture::LoadFromStream(TStream&) {
    throw Exception(L"RGBA pictures cannot be read from a stream");
}

std::unique_ptr<TGraphic> TRgbaPicture::Clone() const {
    return std::make_unique<TRgbaPicture>(width_, height_, rgba_);
}

void TRgbaPicture::Draw(NativeDC nativeDC, const TRect& rect) {
    if (Empty()) return;
    HDC dc = static_cast<HDC>(nativeDC);
    BITMAPINFO info = TopDownHeader32(width_, height_);
    if (opaque_) {
        // Nothing beneath shows through: the pixels go straight to the DC.
        ::SetDIBitsToDevice(dc, rect.left, rect.top, DWORD(width_), DWORD(height_), 0, 0, 0,
                            UINT(height_), bgra_.data(), &info, DIB_RGB_COLORS);
        return;
    }
    MemoryDC bufferDC(::CreateCompatibleDC(dc));
    void* bits = nullptr;
    GdiBitmap buffer(::CreateDIBSection(bufferDC.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bufferDC || !buffer || !bits) return; // out of GDI resources: the area stays as it was
    SelectGuard select(bufferDC.Get(), buffer.Get());
    ::BitBlt(bufferDC.Get(), 0, 0, width_, height_, dc, rect.left, rect.top, SRCCOPY);
    ::GdiFlush(); // the buffer is written directly below
    auto* out = static_cast<uint8_t*>(bits);
    const uint8_t* in = bgra_.data();
    for (size_t n = size_t(width_) * size_t(height_); n > 0; --n, in += 4, out += 4) {
        out[0] = Blend(in[0], in[3], out[0]);
        out[1] = Blend(in[1], in[3], out[1]);
        out[2] = Blend(in[2], in[3], out[2]);
    }
    ::BitBlt(dc, rect.left, rect.top, width_, height_, bufferDC.Get(), 0, 0, SRCCOPY);
}

} // namespace tabulon
