#include "ui/OlePicture.h"

#include "base/GraphicRegistry.h"
#include "base/Stream.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <utility>

namespace tabulon {

namespace {

constexpr int kHimetricPerInch = 2540;

} // namespace

// Out of line: IPicture is complete only here.
TOlePicture::TOlePicture() = default;
TOlePicture::~TOlePicture() = default;

void TOlePicture::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Remaining()));
    if (stream.Read(bytes.data(), bytes.size()) != bytes.size())
        throw EInvalidGraphic(L"Picture data is truncated");
    LoadBytes(std::move(bytes));
}

void TOlePicture::LoadBytes(std::vector<uint8_t> bytes) {
    if (bytes.empty()) throw EInvalidGraphic(L"Picture data is empty");
    // The stream takes the memory over and frees it when released.
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) throw EInvalidGraphic(L"Out of memory");
    void* target = ::GlobalLock(memory);
    if (target) std::memcpy(target, bytes.data(), bytes.size());
    ::GlobalUnlock(memory);
    ComPtr<IStream> stream;
    if (!target || FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.Receive()))) {
        ::GlobalFree(memory);
        throw EInvalidGraphic(L"Out of memory");
    }
    ComPtr<IPicture> picture;
    if (FAILED(::OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                picture.ReceiveVoid())) ||
        !picture)
        throw EInvalidGraphic(L"Invalid picture data");
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    picture_ = std::move(picture);
    width_ = ::MulDiv(w, 96, kHimetricPerInch);
    height_ = ::MulDiv(h, 96, kHimetricPerInch);
    bytes_ = std::move(bytes);
}

void TOlePicture::Draw(NativeDC dc, const TRect& rect) {
    if (!picture_) return;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture_->get_Width(&w);
    picture_->get_Height(&h);
    picture_->Render(static_cast<HDC>(dc), rect.left, rect.top, rect.Width(), rect.Height(), 0, h,
                     w, -h, nullptr);
}

std::unique_ptr<TGraphic> TOlePicture::Clone() const {
    auto copy = std::make_unique<TOlePicture>();
    if (!bytes_.empty()) copy->LoadBytes(bytes_);
    return copy;
}

} // namespace tabulon
