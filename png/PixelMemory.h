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

namespace tabulon {

// Largest pixel buffer we hand out: a 32-bit process cannot map more, and the
// native build keeps the same limit so that both refuse the same images.
inline constexpr uint64_t kMaxPixelBytes = 0x7FFFFFFF;

// An HBITMAP, passed opaquely through portable code.
using NativeBitmap = void*;

class TPixelMemory {
  public:
    TPixelMemory();
    // Zero-filled memory of `byteCount` bytes for the bitmap that `info` describes.
    // Raises EPNGOutMemory when it cannot be had.
    TPixelMemory(const TDibInfo& info, uint64_t byteCount);
    ~TPixelMemory();
    TPixelMemory(TPixelMemory&& other) noexcept;
    TPixelMemory& operator=(TPixelMemory&& other) noexcept;
    TPixelMemory(const TPixelMemory&) = delete;
    TPixelMemory& operator=(const TPixelMemory&) = delete;

    uint8_t* Bits() const { return bits_; }
    explicit operator bool() const { return bits_ != nullptr; }
    // The DIB section and the memory DC it is selected into; nullptr without GDI.
    NativeBitmap Bitmap() const;
    NativeDC Dc() const;

  private:
    // What holds the bits on this platform (PixelMemory*.cpp).
    struct TStore;
    std::unique_ptr<TStore> store_;
    uint8_t* bits_ = nullptr;
};

} // namespace tabulon
