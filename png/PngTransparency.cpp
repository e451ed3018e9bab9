// What of the image is left out when drawing: the transparency kind and the
// key colour of single-colour transparency.
#include "png/PngGraphic.h"

#include <algorithm>

namespace tabulon {

namespace {

uint32_t ColourRef(uint8_t red, uint8_t green, uint8_t blue) {
    return uint32_t(blue) << 16 | uint32_t(green) << 8 | red;
}

// The first palette index that tRNS makes fully transparent and the palette
// has a colour for; -1 when there is none.
int TransparentIndex(const TChunktRNS& trns, const TChunkPLTE* palette) {
    const uint32_t count = std::min<uint32_t>(trns.PayloadSize(), 256);
    for (uint32_t i = 0; i < count; ++i) {
        if (trns.AlphaTable()[i] != 0) continue;
        return palette && i < palette->PaletteCount() ? static_cast<int>(i) : -1;
    }
    return -1;
}

} // namespace

int TPngGraphic::TransparencyKind() const {
    const TChunkIHDR& header = HeaderChunk();
    const TChunktRNS* trns = chunks_.FindChunk<TChunktRNS>();
    switch (header.ColourType()) {
    case kColourGrey:
    case kColourRgb:
        return trns ? kTransparencyKey : kTransparencyNone;
    case kColourIndexed:
        if (!trns) return kTransparencyNone;
        // A single entry that is only partly transparent has no key colour to
        // leave out; blending gives its pixels their real alpha.
        if (trns->SingleTransparent() &&
            TransparentIndex(*trns, chunks_.FindChunk<TChunkPLTE>()) >= 0)
            return kTransparencyKey;
        return kTransparencyAlpha;
    case kColourGreyAlpha:
    case kColourRgbAlpha:
        return kTransparencyAlpha;
    }
    return kTransparencyNone;
}

uint32_t TPngGraphic::TransparentKey() const {
    const TChunktRNS* trns = chunks_.FindChunk<TChunktRNS>();
    const TChunkIHDR* header = FindHeader();
    if (!trns || !header) return 0;
    // Short payloads count their missing bytes as 0.
    const uint32_t size = trns->PayloadSize();
    const auto byteAt = [&](uint32_t i) -> uint8_t { return i < size ? trns->Payload()[i] : 0; };
    const bool wide = header->BitDepth() == 16;
    switch (header->ColourType()) {
    case kColourRgb: {
        // The colour the bitmap shows for the key: 8-bit samples sit in the
        // low bytes, 16-bit images keep their high bytes; both through gamma.
        const uint32_t offset = wide ? 0 : 1;
        const auto& gamma = gammaRamp_;
        return ColourRef(gamma[byteAt(offset)], gamma[byteAt(2 + offset)],
                         gamma[byteAt(4 + offset)]);
    }
    case kColourIndexed: {
        const TChunkPLTE* palette = chunks_.FindChunk<TChunkPLTE>();
        const int index = TransparentIndex(*trns, palette);
        if (index < 0) return 0;
        const uint32_t rgb = palette->PaletteEntry(static_cast<unsigned>(index));
        return ColourRef(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
    }
    case kColourGrey: {
        // The grey ramp entry that decoded pixels of the key sample carry.
        const unsigned sample = unsigned(byteAt(0)) << 8 | byteAt(1);
        unsigned index = 0;
        switch (header->BitDepth()) {
        case 1:
            index = sample & 1;
            break;
        case 2:
            index = (sample & 3) * 5;
            break;
        case 4:
            index = sample & 15;
            break;
        case 8:
            index = sample & 255;
            break;
        case 16:
            index = sample >> 8;
            break;
        }
        const TRgbQuad& c = header->DibHeader().colors[index];
        return ColourRef(c.red, c.green, c.blue);
    }
    }
    return 0;
}

} // namespace tabulon
