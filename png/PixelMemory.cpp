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

void TPixelMemory::TStoreDeleter::operator()(TStore* store) const noexcept {
    delete store;
}

TPixelMemory::TPixelMemory(const TDibInfo&, uint64_t byteCount) {
    if (byteCount > kMaxPixelBytes) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    // calloc: zeroed pages come from the system without touching every byte.
    auto* bits = static_cast<uint8_t*>(std::calloc(byteCount ? byteCount : 1, 1));
    if (!bits) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    store_.reset(new TStore(bits));
    bits_ = bits;
}

NativeBitmap TPixelMemory::Bitmap() const {
    return nullptr;
}

NativeDC TPixelMemory::Dc() const {
    return nullptr;
}

} // namespace tabulon
