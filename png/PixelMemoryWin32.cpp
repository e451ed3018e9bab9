// DIB-section-backed pixel memory: GDI draws the decoded rows directly.
#include "png/PixelMemory.h"

#include "platform/Handles.h"
#include "png/PngErrors.h"

#include <cstring>
#include <optional>
#include <utility>

namespace tabulon {

// Members go in reverse: the section leaves the DC, then both are deleted.
struct TPixelMemory::TStore {
    MemoryDC dc;
    GdiBitmap section;
    std::optional<SelectGuard> selected;
};

void TPixelMemory::TStoreDeleter::operator()(TStore* store) const noexcept {
    delete store;
}

TPixelMemory::TPixelMemory(const TDibInfo& info, uint64_t byteCount) {
    if (byteCount > kMaxPixelBytes) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    std::unique_ptr<TStore, TStoreDeleter> store(new TStore);
    store->dc = MemoryDC(CreateCompatibleDC(nullptr));
    if (!store->dc) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    void* bits = nullptr;
    store->section =
        GdiBitmap(CreateDIBSection(store->dc.Get(), reinterpret_cast<const BITMAPINFO*>(&info),
                                   DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!store->section || !bits) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    store->selected.emplace(store->dc.Get(), store->section.Get());
    // Sections usually come zeroed, but the image relies on it, so make sure.
    std::memset(bits, 0, static_cast<size_t>(byteCount));
    store_ = std::move(store);
    bits_ = static_cast<uint8_t*>(bits);
}

NativeBitmap TPixelMemory::Bitmap() const {
    return store_ ? store_->section.Get() : nullptr;
}

NativeDC TPixelMemory::Dc() const {
    return store_ ? store_->dc.Get() : nullptr;
}

} // namespace tabulon
