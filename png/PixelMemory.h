#pragma once
// Pixel memory of a decoded image. On Windows it is a DIB section selected
// into its own memory DC, so that GDI can draw it without a conversion;
// elsewhere it is plain zeroed heap memory. The decoder writes through Bits()
// the same way on both.
#include "png/DibInfo.h"

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tabulon {

// Largest pixel buffer we hand out: a 32-bit process cannot map more, and the
// native build keeps the same limit so that both refuse the same images.
// Fuzzing builds use a small cap so that every input stays quick.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
inline constexpr uint64_t kMaxPixelBytes = 64u << 20;
#else
inline constexpr uint64_t kMaxPixelBytes = 0x7FFFFFFF;
#endif

class TPixelMemory {
  public:
    TPixelMemory() = default;
    // Zero-filled memory of `byteCount` bytes for the bitmap that `info` describes.
    // Raises EPNGOutMemory when it cannot be had.
    TPixelMemory(const TDibInfo& info, uint64_t byteCount);
    ~TPixelMemory() { Release(); }
    TPixelMemory(TPixelMemory&& other) noexcept;
    TPixelMemory& operator=(TPixelMemory&& other) noexcept;
    TPixelMemory(const TPixelMemory&) = delete;
    TPixelMemory& operator=(const TPixelMemory&) = delete;

    uint8_t* Bits() const { return bits_; }
    explicit operator bool() const { return bits_ != nullptr; }
#ifdef _WIN32
    HBITMAP Bitmap() const {
        return bitmap_;
    }
    HDC Dc() const {
        return dc_;
    }
#endif

  private:
    void Release() noexcept;

    uint8_t* bits_ = nullptr;
#ifdef _WIN32
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
#endif
};

} // namespace tabulon
