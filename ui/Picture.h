#pragma once
// TPicture: the picture an image control holds, of whatever kind.
#include "ui/Bitmap.h"
#include "base/Graphic.h"

#include <functional>
#include <memory>
#include <string>

namespace tabulon {

class TPicture {
  public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // Null when the picture holds nothing.
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // The bitmap this picture holds. When it holds another kind of picture or
    // none, that is dropped and replaced by a new, empty bitmap (size 0 x 0),
    // which the caller then sizes and draws on; the old picture is not converted.
    TBitmap& Bitmap();

    // Loads a file, choosing the kind by the file name's extension in any
    // case. Throws EInvalidGraphic for an extension no kind claims, the file
    // layer's EFOpenError for an unreadable file, or the kind's own error for
    // bad data. On failure the picture keeps what it held.
    void LoadFromFile(const std::wstring& path);
    // Writes the picture in its own kind; a bitmap as a BMP file.
    void SaveToFile(const std::wstring& path);
    // Replaces the picture by a copy of `other`'s (nothing when it is empty).
    void Assign(const TPicture& other);
    // Reads a layout picture (length-prefixed class name, then the kind's data).
    void LoadFromLayoutData(const uint8_t* data, size_t size);
    // Reads a layout picture stored as an RCDATA resource of this module.
    void LoadFromResource(const wchar_t* name);

    // Called after every change of the picture (the image control re-sizes and repaints).
    std::function<void()> OnChange;
    // Tells the holder that the picture changed by other means than this
    // class's own methods (a bitmap resized or drawn on through Bitmap()).
    void Changed();

  private:
    std::unique_ptr<TGraphic> graphic_;
};

// Registers the kinds the toolkit itself knows: TBitmap ("bmp") and the
// system's OLE pictures ("ico", "emf", "wmf", "jpg", "jpeg").
void RegisterToolkitGraphics();

} // namespace tabulon
