#pragma once
// TBitmap: the bitmap picture kind. A 24-bit top-down DIB section with a
// memory DC (its canvas) for drawing on it with GDI.
#include "base/Graphic.h"
#include "platform/Handles.h"

#include <cstdint>
#include <string>

namespace tabulon {

class TBitmap : public TGraphic {
  public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    const char* ClassName() const override { return "TBitmap"; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return width_ == 0 || height_ == 0; }
    // On when an image control draws it transparent: the colour of the
    // bottom-left pixel is then left out.
    bool Transparent() const override { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    // Reads a BMP file's bytes (everything up to the stream's end).
    void LoadFromStream(TStream& stream) override;
    void Draw(NativeDC dc, const TRect& rect) override;
    std::unique_ptr<TGraphic> Clone() const override;

    // A new picture of that size, all pixels black; (0, 0) frees the picture.
    // Throws when the system cannot give the memory.
    void SetSize(int width, int height);
    void LoadFromBmpBytes(const uint8_t* data, size_t size);
    void LoadFromFile(const std::wstring& path);
    // Writes a 24-bit BMP file, replacing any file of that name.
    void SaveToFile(const std::wstring& path) const;
    // The same through a temporary file that then takes the file's place
    // (WriteFileReplacing): a failed write leaves the old file whole.
    void SaveToFileReplacing(const std::wstring& path) const;
    std::vector<uint8_t> SaveToBmpBytes() const;
    // A copy of another picture of any kind, drawn onto a white bitmap of its size.
    void Assign(const TGraphic& source);

    // A memory DC with the bitmap selected, created on first use and kept
    // until Handle() is asked for (GDI wants a bitmap deselected before
    // GetDIBits and friends work on it).
    HDC Canvas();
    // The DIB section, deselected from the canvas; the bitmap keeps owning it.
    HBITMAP Handle();

    // Pixel rows: B, G, R bytes, Stride() apart, row 0 at the top. Flushes
    // pending GDI drawing first so that what the canvas drew is visible.
    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    size_t Stride() const { return stride_; }
    // The colour left out by transparent drawing (0x00BBGGRR).
    COLORREF TransparentColor() const;

  private:
    void ReleaseCanvas();

    int width_ = 0, height_ = 0;
    size_t stride_ = 0;
    uint8_t* bits_ = nullptr;
    bool transparent_ = false;
    GdiBitmap section_;
    MemoryDC canvas_;
    HGDIOBJ canvasOld_ = nullptr;
};

} // namespace tabulon
