// Heap-backed pixel memory for builds without GDI.
#include "png/PixelMemory.h"

#include "png/PngErrors.h"

#include <cstdlib>
#include <utility>

namespace tabulon {

TPixelMemory::TPixelMemory(const TDibInfo&, uint64_t byteCount) {
    if (byteCount > kMaxPixelBytes) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    // calloc: zeroed pages come from the system without touching every byte.
    bits_ = static_cast<uint8_t*>(std::calloc(byteCount ? byteCount : 1, 1));
    if (!bits_) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
}

TPixelMemory::TPixelMemory(TPixelMemory&& other) noexcept
    : bits_(std::exchange(other.bits_, nullptr)) {}

TPixelMemory& TPixelMemory::operator=(TPixelMemory&& other) noexcept {
    if (this != &other) {
        Release();
        bits_ = std::exchange(other.bits_, nullptr);
    }
    return *this;
}

void TPixelMemory::Release() noexcept {
    std::free(bits_);
    bits_ = nullptr;
}

} // namespace tabulon
