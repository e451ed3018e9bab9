// Heap-backed pixel memory for builds without GDI.
#include "png/PixelMemory.h"

#include "png/PngErrors.h"

#include <cstdlib>
#include <utility>

namespace tabulon {

struct TPixelMemory::TStore {
    explicit TStore(uint8_t* memory) : bits(memory) {}
    ~TStore() { std::free(bits); }
    TStore(const TStore&) = delete;
    TStore& operator=(const TStore&) = delete;
    uint8_t* bits;
};

TPixelMemory::TPixelMemory() = default;
TPixelMemory::~TPixelMemory() = default;

TPixelMemory::TPixelMemory(const TDibInfo&, uint64_t byteCount) {
    if (byteCount > kMaxPixelBytes) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    // calloc: zeroed pages come from the system without touching every byte.
    auto* bits = static_cast<uint8_t*>(std::calloc(byteCount ? byteCount : 1, 1));
    if (!bits) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    store_ = std::make_unique<TStore>(bits);
    bits_ = bits;
}

TPixelMemory::TPixelMemory(TPixelMemory&& other) noexcept
    : store_(std::move(other.store_)), bits_(std::exchange(other.bits_, nullptr)) {}

TPixelMemory& TPixelMemory::operator=(TPixelMemory&& other) noexcept {
    store_ = std::move(other.store_);
    bits_ = std::exchange(other.bits_, nullptr);
    return *this;
}

NativeBitmap TPixelMemory::Bitmap() const {
    return nullptr;
}

NativeDC TPixelMemory::Dc() const {
    return nullptr;
}

} // namespace tabulon
