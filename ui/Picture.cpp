#include "ui/Picture.h"

#include "platform/FileIO.h"
#include "base/GraphicRegistry.h"
#include "ui/OlePicture.h"
#include "base/Stream.h"

namespace tabulon {

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    Changed();
}

TBitmap& TPicture::Bitmap() {
    if (auto* bmp = dynamic_cast<TBitmap*>(graphic_.get())) return *bmp;
    graphic_ = std::make_unique<TBitmap>();
    Changed();
    return static_cast<TBitmap&>(*graphic_);
}

void TPicture::LoadFromFile(const std::wstring& path) {
    const std::wstring ext = FileExtension(path);
    GraphicFactory factory = FindFileFormat(ext);
    if (!factory) throw EInvalidGraphic(L"Unknown picture file extension (." + ext + L")");
    std::unique_ptr<TGraphic> graphic = factory();
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic.get())) {
        // Bitmaps decode from the file itself: a background is tens of megabytes.
        if (auto* held = dynamic_cast<TBitmap*>(graphic_.get())) {
            // Into the bitmap already held, which keeps its memory for a picture
            // of its size; it changes only when the whole file decodes. It then
            // is what a fresh bitmap would be.
            held->LoadFromFile(path);
            held->SetTransparent(false);
            Changed();
            return;
        }
        bitmap->LoadFromFile(path);
    } else {
        const std::string bytes = ReadWholeFile(path);
        TMemoryStream stream(bytes.data(), bytes.size());
        graphic->LoadFromStream(stream);
    }
    SetGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::wstring& path) {
    auto* bmp = dynamic_cast<TBitmap*>(graphic_.get());
    if (!bmp) throw EInvalidGraphic(L"Only bitmaps can be saved");
    bmp->SaveToFile(path);
}

void TPicture::Assign(const TPicture& other) {
    if (&other == this) return;
    SetGraphic(other.graphic_ ? other.graphic_->Clone() : nullptr);
}

void TPicture::LoadFromLayoutData(const uint8_t* data, size_t size) {
    SetGraphic(ReadLayoutPicture(data, size));
}

void TPicture::LoadFromResource(const wchar_t* name) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL res = info ? ::LoadResource(module, info) : nullptr;
    const void* data = res ? ::LockResource(res) : nullptr;
    if (!data) throw EInvalidGraphic(L"Missing picture resource " + std::wstring(name));
    LoadFromLayoutData(static_cast<const uint8_t*>(data), ::SizeofResource(module, info));
}

void TPicture::Changed() {
    if (OnChange) OnChange();
}

void RegisterToolkitGraphics() {
    GraphicFactory bitmap = [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmap>()); };
    RegisterGraphicClass("TBitmap", bitmap);
    RegisterFileFormat("bmp", L"Bitmaps", bitmap);
    GraphicFactory ole = [] { return std::unique_ptr<TGraphic>(std::make_unique<TOlePicture>()); };
    RegisterFileFormat("ico", L"Icons", ole);
    RegisterFileFormat("emf", L"Enhanced Metafiles", ole);
    RegisterFileFormat("wmf", L"Metafiles", ole);
    RegisterFileFormat("jpg", L"JPEG Image File", ole);
    RegisterFileFormat("jpeg", L"JPEG Image File", ole);
}

} // namespace tabulon
