#pragma once
// Pixel memory of a decoded image. On Windows it is a DIB section selected
// into its own memory DC (PixelMemoryWin32.cpp), so that GDI can draw it
// without a conversion; elsewhere it is plain zeroed heap memory
// (PixelMemory.cpp). The decoder writes through Bits() the same way on both.
#include "base/Graphic.h"
#include "png/DibInfo.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace tabulon {

// Largest pixel buffer we hand out: a 32-bit process cannot map more, and the
// native build keeps the same limit so that both refuse the same images.
inline constexpr uint64_t kMaxPixelBytes = 0x7FFFFFFF;

// An HBITMAP, passed opaquely through portable code.
using NativeBitmap = void*;

class TPixelMemory {
  public:
    TPixelMemory() = default;
    // Zero-filled memory of `byteCount` bytes for the bitmap that `info` describes.
    // Raises EPNGOutMemory when it cannot be had.
    TPixelMemory(const TDibInfo& info, uint64_t byteCount);
    TPixelMemory(TPixelMemory&& other) noexcept
        : store_(std::move(other.store_)), bits_(std::exchange(other.bits_, nullptr)) {}
    TPixelMemory& operator=(TPixelMemory&& other) noexcept {
        store_ = std::move(other.store_);
        bits_ = std::exchange(other.bits_, nullptr);
        return *this;
    }
    TPixelMemory(const TPixelMemory&) = delete;
    TPixelMemory& operator=(const TPixelMemory&) = delete;

    uint8_t* Bits() const { return bits_; }
    explicit operator bool() const { return bits_ != nullptr; }
    // The DIB section and the memory DC it is selected into; nullptr without GDI.
    NativeBitmap Bitmap() const;
    NativeDC Dc() const;

  private:
    // What holds the bits on this platform, and how it is freed (PixelMemory*.cpp).
    struct TStore;
    struct TStoreDeleter {
        void operator()(TStore* store) const noexcept;
    };
    std::unique_ptr<TStore, TStoreDeleter> store_;
    uint8_t* bits_ = nullptr;
};

} // namespace tabulon
