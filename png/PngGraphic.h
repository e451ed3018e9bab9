#pragma once
// TPngGraphic: the PNG picture kind. Reads a PNG stream into a chunk list
// whose header chunk holds the decoded image (a bottom-up bitmap plus a
// separate alpha plane), and draws it on Windows.
#include "png/PngChunks.h"
#include "png/PngErrors.h"
#include "base/Graphic.h"

#include <array>
#include <cstdint>

namespace tabulon {

// Bytes of one filtered row (without its filter byte) and bytes per complete
// pixel for unfiltering.
struct TPixelGeometry {
    size_t rowBytes = 0;
    size_t filterStride = 0;
};

// Row geometry of `pixels` pixels for a colour type and bit depth; zeros for
// colour types without a layout.
TPixelGeometry PixelGeometryOf(uint8_t colourType, uint8_t bitDepth, uint64_t pixels);

// The colour index of pixel x in a bitmap row of 1, 4 or 8 bits per pixel.
inline unsigned BitmapIndexAt(const uint8_t* row, unsigned bitsPerPixel, uint32_t x) {
    switch (bitsPerPixel) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4;
    default:
        return row[x];
    }
}

// How a read checks its input. The program always keeps the defaults. A fuzz
// target turns the CRC check off, so that mutated bytes reach inflate, the
// row filters and the conversions instead of stopping at the first chunk, and
// lowers the pixel limit so that every input stays quick.
struct TPngReadSettings {
    bool checkCrc = true;
    // Largest pixel buffer (and alpha plane) a header may ask for.
    uint64_t maxPixelBytes = kMaxPixelBytes;
};

// What TransparencyKind reports.
inline constexpr int kTransparencyNone = 0, kTransparencyKey = 1, kTransparencyAlpha = 2;

class TPngGraphic : public TGraphic {
  public:
    TPngGraphic();
    ~TPngGraphic() override;
    TPngGraphic(const TPngGraphic&) = delete;
    TPngGraphic& operator=(const TPngGraphic&) = delete;

    // The picture kind.
    const char* ClassName() const override { return "TPngGraphic"; }
    int Width() const override { return static_cast<int>(PixelWidth()); }
    int Height() const override { return static_cast<int>(PixelHeight()); }
    bool Empty() const override { return IsBlank(); }
    bool Transparent() const override { return TransparencyKind() != kTransparencyNone; }
    void LoadFromStream(TStream& stream) override { DecodeFromStream(stream); }
    void Draw(NativeDC dc, const TRect& rect) override;
    std::unique_ptr<TGraphic> Clone() const override;

    // Reads one PNG from the stream's position. Raises on any error; the chunks
    // read before the error stay in the list.
    void DecodeFromStream(TStream& stream);
    // The header's size; 0 without a header.
    uint32_t PixelWidth() const;
    uint32_t PixelHeight() const;
    bool IsBlank() const { return chunks_.Count() == 0; }
    // PNG images are never resized: these always raise EPngError.
    [[noreturn]] void SetWidth(int width);
    [[noreturn]] void SetHeight(int height);

    // Item 0 of the list; raises EPNGHeaderNotPresent when that is no header.
    TChunkIHDR& HeaderChunk() const;
    TChunkIHDR* FindHeader() const;
    void CopyImageFrom(const TPngGraphic& source);
    // Frees every chunk and resets the gamma tables.
    void ClearChunks();

    std::array<uint8_t, 256>& GammaRamp() { return gammaRamp_; }
    const std::array<uint8_t, 256>& GammaRamp() const { return gammaRamp_; }
    std::array<uint8_t, 256>& InverseGammaRamp() { return inverseGammaRamp_; }
    TChunkList& ChunkList() { return chunks_; }
    const TChunkList& ChunkList() const { return chunks_; }
    // Row geometry of the whole width; zeros without a header.
    TPixelGeometry PixelGeometry() const;

    // kTransparencyNone, kTransparencyKey (one colour left out) or
    // kTransparencyAlpha (alpha per pixel). Raises without a header.
    int TransparencyKind() const;
    // The colour left out (0x00BBGGRR), as the bitmap shows it; 0 without tRNS.
    uint32_t TransparentKey() const;

    // Applies to the reads that follow; not copied with the image.
    TPngReadSettings ReadSettings;

    // Settings for writing; kept and copied, not used by reading.
    uint8_t InterlaceKind = 0;
    uint8_t ZlibLevel = 7;
    uint8_t FilterSet = 1 << 1; // bit n: filter type n
    int IdatLimit() const { return idatLimit_; }
    void SetIdatLimit(int limit) { idatLimit_ = limit < 65535 ? 65535 : limit; }

    // Draws into `rect` of an HDC: plain stretched, masked by TransparentKey,
    // or alpha blended at the image's own size, by TransparencyKind. Nothing
    // without a header. Windows only (PngDrawWin32.cpp).
    void PaintOnCanvas(NativeDC dc, const TRect& rect);
    void DrawPlain(NativeDC dc, const TRect& rect);
    // `key` is a COLORREF (0x00BBGGRR).
    void DrawMasked(NativeDC dc, const TRect& rect, uint32_t key);
    void DrawBlended(NativeDC dc, const TRect& rect);

  private:
    TChunkList chunks_;
    std::array<uint8_t, 256> gammaRamp_;
    std::array<uint8_t, 256> inverseGammaRamp_;
    int idatLimit_ = 65535;
};

} // namespace tabulon
