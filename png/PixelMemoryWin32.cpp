// DIB-section-backed pixel memory: GDI draws the decoded rows directly.
#include "png/PixelMemory.h"

#include "png/PngErrors.h"

#include <cstring>
#include <utility>

namespace tabulon {

TPixelMemory::TPixelMemory(const TDibInfo& info, uint64_t byteCount) {
    if (byteCount > kMaxPixelBytes) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                               &bits, nullptr, 0);
    if (!bitmap_ || !bits) {
        Release();
        RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    }
    bits_ = static_cast<uint8_t*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    // Sections usually come zeroed, but the image relies on it, so make sure.
    std::memset(bits_, 0, static_cast<size_t>(byteCount));
}

TPixelMemory::TPixelMemory(TPixelMemory&& other) noexcept
    : bits_(std::exchange(other.bits_, nullptr)), dc_(std::exchange(other.dc_, nullptr)),
      bitmap_(std::exchange(other.bitmap_, nullptr)),
      previous_(std::exchange(other.previous_, nullptr)) {}

TPixelMemory& TPixelMemory::operator=(TPixelMemory&& other) noexcept {
    if (this != &other) {
        Release();
        bits_ = std::exchange(other.bits_, nullptr);
        dc_ = std::exchange(other.dc_, nullptr);
        bitmap_ = std::exchange(other.bitmap_, nullptr);
        previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
}

void TPixelMemory::Release() noexcept {
    // The section must leave the DC before either can be deleted.
    if (dc_ && previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    bits_ = nullptr;
    bitmap_ = nullptr;
    dc_ = nullptr;
    previous_ = nullptr;
}

} // namespace tabulon
