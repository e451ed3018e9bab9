#include "png/PngRgba.h"

namespace tabulon {

std::vector<uint8_t> DecodedRgba(const TPngGraphic& image) {
    const TChunkIHDR& header = image.HeaderChunk();
    const uint32_t width = header.Width(), height = header.Height();
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    if (!header.PixelBits()) return rgba;
    const unsigned bits = header.PixelBitCount();
    const TChunktRNS* trns = image.ChunkList().FindChunk<TChunktRNS>();
    const bool paletteAlpha = header.ColourType() == kColourIndexed && trns;
    uint8_t* out = rgba.data();
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = header.PixelRow(y);
        const uint8_t* alpha =
            header.AlphaPlane() ? header.AlphaPlane() + size_t(y) * width : nullptr;
        for (uint32_t x = 0; x < width; ++x, out += 4) {
            uint8_t a = 255;
            if (bits == 24) {
                out[0] = row[3 * x + 2];
                out[1] = row[3 * x + 1];
                out[2] = row[3 * x];
            } else {
                const unsigned index = BitmapIndexAt(row, bits, x);
                const TRgbQuad& c = header.DibHeader().colors[index];
                out[0] = c.red;
                out[1] = c.green;
                out[2] = c.blue;
                if (paletteAlpha) a = trns->AlphaTable()[index];
            }
            out[3] = alpha ? alpha[x] : a;
        }
    }
    return rgba;
}

} // namespace tabulon
