// Drawing a decoded PNG: a plain stretched copy, a copy with one colour left
// out, or a per-pixel alpha blend onto what the canvas already shows.
#include "png/PngGraphic.h"
#include "platform/DibHeader.h"
#include "platform/Handles.h"

#include <array>

namespace tabulon {

namespace {

const BITMAPINFO* AsBitmapInfo(const TDibInfo& dib) {
    return reinterpret_cast<const BITMAPINFO*>(&dib);
}

// The header of an image whose pixels exist; nullptr otherwise.
const TChunkIHDR* DrawableHeader(const TPngGraphic& image) {
    const TChunkIHDR* header = image.FindHeader();
    return header && header->PixelBits() ? header : nullptr;
}

inline uint8_t Blend(unsigned source, unsigned alpha, unsigned dest) {
    // Integer form of s·a/255 + d·(255−a)/255: exact for a = 0 and a = 255.
    return static_cast<uint8_t>((source * alpha + 255 + (255 - alpha) * dest) >> 8);
}

// Colour and alpha per colour index for one blended draw.
struct TIndexedSource {
    std::array<uint8_t, 256> blue{}, green{}, red{}, alpha{};
    std::array<bool, 256> known{};
};

TIndexedSource IndexedSource(const TPngGraphic& image, const TChunkIHDR& header) {
    TIndexedSource source;
    if (header.ColourType() == kColourGreyAlpha) {
        // Grey levels with their alpha from the plane: the colour is the
        // grey ramp entry, so that gamma applies as it does everywhere else.
        for (unsigned i = 0; i < 256; ++i) {
            const TRgbQuad& c = header.DibHeader().colors[i];
            source.blue[i] = c.blue;
            source.green[i] = c.green;
            source.red[i] = c.red;
            source.known[i] = true;
        }
        return source;
    }
    const TChunkPLTE* palette = image.ChunkList().FindChunk<TChunkPLTE>();
    const TChunktRNS* trns = image.ChunkList().FindChunk<TChunktRNS>();
    const unsigned count = palette ? palette->PaletteCount() : 0;
    for (unsigned i = 0; i < count; ++i) {
        const uint32_t rgb = palette->PaletteEntry(i);
        source.blue[i] = uint8_t(rgb);
        source.green[i] = uint8_t(rgb >> 8);
        source.red[i] = uint8_t(rgb >> 16);
        source.alpha[i] = trns ? trns->AlphaTable()[i] : 255;
        source.known[i] = true;
    }
    return source;
}

} // namespace

void TPngGraphic::Draw(NativeDC dc, const TRect& rect) {
    PaintOnCanvas(dc, rect);
}

void TPngGraphic::PaintOnCanvas(NativeDC dc, const TRect& rect) {
    if (!DrawableHeader(*this)) return;
    switch (TransparencyKind()) {
    case kTransparencyKey:
        DrawMasked(dc, rect, TransparentKey());
        break;
    case kTransparencyAlpha:
        DrawBlended(dc, rect);
        break;
    default:
        DrawPlain(dc, rect);
        break;
    }
}

void TPngGraphic::DrawPlain(NativeDC canvas, const TRect& rect) {
    const HDC dc = static_cast<HDC>(canvas);
    const TChunkIHDR* header = DrawableHeader(*this);
    if (!header) return;
    StretchDIBits(dc, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0,
                  static_cast<int>(header->Width()), static_cast<int>(header->Height()),
                  header->PixelBits(), AsBitmapInfo(header->DibHeader()), DIB_RGB_COLORS, SRCCOPY);
}

void TPngGraphic::DrawMasked(NativeDC canvas, const TRect& rect, uint32_t key) {
    const HDC dc = static_cast<HDC>(canvas);
    const TChunkIHDR* header = DrawableHeader(*this);
    const int w = rect.Width(), h = rect.Height();
    if (!header || w <= 0 || h <= 0) return;
    const int imageWidth = static_cast<int>(header->Width());
    const int imageHeight = static_cast<int>(header->Height());

    // The image as a bitmap of the destination's format.
    MemoryDC imageDC(CreateCompatibleDC(dc));
    GdiBitmap imageBitmap(CreateDIBitmap(dc, &AsBitmapInfo(header->DibHeader())->bmiHeader,
                                         CBM_INIT, header->PixelBits(),
                                         AsBitmapInfo(header->DibHeader()), DIB_RGB_COLORS));
    SelectGuard selectImage(imageDC.Get(), imageBitmap.Get());

    // Fresh memory DCs have black text and white background colours, which
    // the colour/monochrome conversions below rely on.
    MemoryDC maskDC(CreateCompatibleDC(dc)), inverseDC(CreateCompatibleDC(dc)),
        compositeDC(CreateCompatibleDC(dc));
    GdiBitmap maskBitmap(CreateBitmap(w, h, 1, 1, nullptr));
    GdiBitmap inverseBitmap(CreateBitmap(w, h, 1, 1, nullptr));
    GdiBitmap compositeBitmap(CreateCompatibleBitmap(dc, w, h));
    SelectGuard selectMask(maskDC.Get(), maskBitmap.Get());
    SelectGuard selectInverse(inverseDC.Get(), inverseBitmap.Get());
    SelectGuard selectComposite(compositeDC.Get(), compositeBitmap.Get());

    // Key-coloured pixels become white (1) in the mask, all others black.
    const COLORREF background = SetBkColor(imageDC.Get(), key);
    StretchBlt(maskDC.Get(), 0, 0, w, h, imageDC.Get(), 0, 0, imageWidth, imageHeight, SRCCOPY);
    SetBkColor(imageDC.Get(), background);
    BitBlt(inverseDC.Get(), 0, 0, w, h, maskDC.Get(), 0, 0, NOTSRCCOPY);

    // Background where the image is transparent, black elsewhere ...
    BitBlt(compositeDC.Get(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    BitBlt(compositeDC.Get(), 0, 0, w, h, maskDC.Get(), 0, 0, SRCAND);
    // ... image where it is opaque, black elsewhere; OR the two together.
    StretchBlt(imageDC.Get(), 0, 0, imageWidth, imageHeight, inverseDC.Get(), 0, 0, w, h, SRCAND);
    StretchBlt(compositeDC.Get(), 0, 0, w, h, imageDC.Get(), 0, 0, imageWidth, imageHeight,
               SRCPAINT);
    BitBlt(dc, rect.left, rect.top, w, h, compositeDC.Get(), 0, 0, SRCCOPY);
}

void TPngGraphic::DrawBlended(NativeDC canvas, const TRect& rect) {
    const HDC dc = static_cast<HDC>(canvas);
    const TChunkIHDR* header = DrawableHeader(*this);
    if (!header) return;
    const uint32_t width = header->Width(), height = header->Height();
    const unsigned bits = header->PixelBitCount();
    // Colours per index are taken before any GDI object exists, so that a
    // missing palette entry raises with nothing to clean up.
    TIndexedSource indexed;
    if (bits <= 8) indexed = IndexedSource(*this, *header);

    const BITMAPINFO info = TopDownHeader32(static_cast<int>(width), static_cast<int>(height));

    MemoryDC bufferDC(CreateCompatibleDC(nullptr));
    if (!bufferDC) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    void* bufferBits = nullptr;
    GdiBitmap buffer(
        CreateDIBSection(bufferDC.Get(), &info, DIB_RGB_COLORS, &bufferBits, nullptr, 0));
    if (!buffer || !bufferBits) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
    SelectGuard selectBuffer(bufferDC.Get(), buffer.Get());

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    BitBlt(bufferDC.Get(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    GdiFlush(); // the buffer is written directly below

    const uint8_t* alphaPlane = header->AlphaPlane();
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = header->PixelRow(y);
        uint8_t* out = static_cast<uint8_t*>(bufferBits) + size_t(y) * width * 4;
        const uint8_t* alpha = alphaPlane ? alphaPlane + size_t(y) * width : nullptr;
        if (bits == 24) {
            for (uint32_t x = 0; x < width; ++x, out += 4, row += 3) {
                const unsigned a = alpha ? alpha[x] : 255;
                out[0] = Blend(row[0], a, out[0]);
                out[1] = Blend(row[1], a, out[1]);
                out[2] = Blend(row[2], a, out[2]);
            }
            continue;
        }
        for (uint32_t x = 0; x < width; ++x, out += 4) {
            const unsigned index = BitmapIndexAt(row, bits, x);
            if (!indexed.known[index]) RaisePngError<EPngError>(kPngNoPaletteEntryText);
            const unsigned a = alpha ? alpha[x] : indexed.alpha[index];
            out[0] = Blend(indexed.blue[index], a, out[0]);
            out[1] = Blend(indexed.green[index], a, out[1]);
            out[2] = Blend(indexed.red[index], a, out[2]);
        }
    }
    BitBlt(dc, rect.left, rect.top, w, h, bufferDC.Get(), 0, 0, SRCCOPY);
}

} // namespace tabulon
