// Palette, transparency, gamma, time and text chunks.
#include "png/Crc32.h"
#include "png/PngGraphic.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tabulon {

// ---- gAMA ----

namespace {

struct TGammaTables {
    uint32_t value = 0;
    std::array<uint8_t, 256> ramp{};
};

// The ramp for a stored gamma value. 256 powers in extended precision cost
// more than decoding a small image, and files of one program tend to share a
// value, so the last one is kept (per thread).
const TGammaTables& GammaTablesFor(uint32_t value) {
    thread_local TGammaTables cached;
    if (cached.value == value) return cached;
    const long double exponent = 1.0L / (static_cast<long double>(value) / 100000.0L * 2.2L);
    for (unsigned i = 0; i < 256; ++i) {
        const long double base = i / 255.0L;
        const long double power = base == 0 ? 0.0L : std::exp(exponent * std::log(base));
        // nearbyint rounds to nearest, ties to even, in the default mode.
        cached.ramp[i] =
            static_cast<uint8_t>(std::clamp(std::nearbyint(power * 255.0L), 0.0L, 255.0L));
    }
    cached.value = value;
    return cached;
}

} // namespace

TChunkgAMA::TChunkgAMA(TPngGraphic& owner) : TChunk(owner) {
    SetGamma(1);
}

uint32_t TChunkgAMA::Gamma() const {
    return PayloadSize() == 4 ? ReadBigEndian32(Payload()) : 1;
}

void TChunkgAMA::SetGamma(uint32_t value) {
    ResizePayload(4);
    uint8_t* p = Payload();
    p[0] = uint8_t(value >> 24);
    p[1] = uint8_t(value >> 16);
    p[2] = uint8_t(value >> 8);
    p[3] = uint8_t(value);
}

void TChunkgAMA::CopyChunkFrom(const TChunk& source) {
    const auto* gama = dynamic_cast<const TChunkgAMA*>(&source);
    if (!gama) RaisePngError<EPngError>(kPngIncompatibleChunkText);
    SetGamma(gama->Gamma());
}

bool TChunkgAMA::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    TChunk::ReadBody(stream, typeCode, size);
    if (PayloadSize() != 4) SetGamma(1);
    const uint32_t value = Gamma();
    if (value == 0) return true;
    const TGammaTables& tables = GammaTablesFor(value);
    OwnerImage().GammaRamp() = tables.ramp;
    // A later i overwrites an earlier one with the same g.
    auto& inverse = OwnerImage().InverseGammaRamp();
    for (unsigned i = 0; i < 256; ++i)
        inverse[tables.ramp[i]] = static_cast<uint8_t>(i);
    return true;
}

// ---- PLTE ----

void TChunkPLTE::CopyChunkFrom(const TChunk& source) {
    const auto* palette = dynamic_cast<const TChunkPLTE*>(&source);
    if (!palette) RaisePngError<EPngError>(kPngIncompatibleChunkText);
    paletteCount_ = palette->paletteCount_;
}

bool TChunkPLTE::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    TChunk::ReadBody(stream, typeCode, size);
    if (size % 3 != 0 || size / 3 > 256) RaisePngError<EPNGInvalidPalette>(kPngInvalidPaletteText);
    paletteCount_ = size / 3;
    // The colours live in the header's colour table, already through gamma.
    const auto& gamma = OwnerImage().GammaRamp();
    TRgbQuad* table = OwnerImage().HeaderChunk().DibHeader().colors;
    const uint8_t* p = Payload();
    for (unsigned i = 0; i < paletteCount_; ++i, p += 3)
        table[i] = TRgbQuad{gamma[p[2]], gamma[p[1]], gamma[p[0]], 0};
    return true;
}

uint32_t TChunkPLTE::PaletteEntry(unsigned index) const {
    if (index >= paletteCount_) RaisePngError<EPngError>(kPngNoPaletteEntryText);
    const TRgbQuad& c = OwnerImage().HeaderChunk().DibHeader().colors[index];
    return uint32_t(c.red) << 16 | uint32_t(c.green) << 8 | c.blue;
}

// ---- tRNS ----

TChunktRNS::TChunktRNS(TPngGraphic& owner) : TChunk(owner) {
    alphaTable_.fill(255);
}

void TChunktRNS::CopyChunkFrom(const TChunk& source) {
    if (const auto* trns = dynamic_cast<const TChunktRNS*>(&source)) {
        alphaTable_ = trns->alphaTable_;
        singleTransparent_ = trns->singleTransparent_;
    }
    TChunk::CopyChunkFrom(source);
}

bool TChunktRNS::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    TChunk::ReadBody(stream, typeCode, size);
    if (size > 256) RaisePngError<EPNGInvalidPalette>(kPngInvalidPaletteText);
    alphaTable_.fill(255);
    std::memcpy(alphaTable_.data(), Payload(), size);
    switch (OwnerImage().HeaderChunk().ColourType()) {
    case kColourGrey:
    case kColourRgb:
        singleTransparent_ = true;
        break;
    case kColourIndexed:
        singleTransparent_ = std::count_if(alphaTable_.begin(), alphaTable_.begin() + size,
                                           [](uint8_t a) { return a != 255; }) == 1;
        break;
    default:
        singleTransparent_ = false;
        break;
    }
    return true;
}

// ---- tIME ----

bool TChunktIME::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    TChunk::ReadBody(stream, typeCode, size);
    if (size == 7) {
        const uint8_t* p = Payload();
        year = uint16_t(p[0] << 8 | p[1]);
        month = p[2];
        day = p[3];
        hour = p[4];
        minute = p[5];
        second = p[6];
    }
    return true;
}

// ---- tEXt, zTXt ----

namespace {

// Length of the keyword: the bytes before the first zero (all of them when
// there is none).
size_t KeywordLength(const uint8_t* payload, size_t size) {
    const void* zero = std::memchr(payload, 0, size);
    return zero ? static_cast<const uint8_t*>(zero) - payload : size;
}

// Inflates a whole zlib stream; false on any error, on a truncated stream, or
// when the output would exceed `limit` bytes.
bool InflateText(const uint8_t* data, size_t size, size_t limit, std::string& text) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<uint8_t*>(data);
    z.avail_in = static_cast<uInt>(size);
    uint8_t buffer[16384];
    int result = Z_OK;
    std::string out;
    while (result == Z_OK) {
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        result = inflate(&z, Z_NO_FLUSH);
        const size_t produced = sizeof buffer - z.avail_out;
        if (out.size() + produced > limit) {
            result = Z_MEM_ERROR;
            break;
        }
        out.append(reinterpret_cast<const char*>(buffer), produced);
    }
    inflateEnd(&z);
    if (result != Z_STREAM_END) return false;
    text = std::move(out);
    return true;
}

} // namespace

void TChunktEXt::CopyChunkFrom(const TChunk& source) {
    if (const auto* text = dynamic_cast<const TChunktEXt*>(&source)) {
        KeywordText = text->KeywordText;
        BodyText = text->BodyText;
    }
}

bool TChunktEXt::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    TChunk::ReadBody(stream, typeCode, size);
    if (size > 2) {
        const uint8_t* p = Payload();
        const size_t keyword = KeywordLength(p, size);
        KeywordText.assign(reinterpret_cast<const char*>(p), keyword);
        // Without a separator there is no text.
        if (keyword < size)
            BodyText.assign(reinterpret_cast<const char*>(p) + keyword + 1, size - keyword - 1);
        else
            BodyText.clear();
    }
    return true;
}

bool TChunkzTXt::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    TChunktEXt::ReadBody(stream, typeCode, size);
    if (size > 3) {
        const uint8_t* p = Payload();
        const size_t keyword = KeywordLength(p, size);
        KeywordText.assign(reinterpret_cast<const char*>(p), keyword);
        BodyText.clear();
        // The byte after the keyword's zero is the compression method; 0 is deflate.
        if (keyword + 1 < size && p[keyword + 1] == 0) {
            std::string text;
            if (InflateText(p + keyword + 2, size - keyword - 2, kMaxTextBytes, text))
                BodyText = std::move(text);
        }
    }
    return true;
}

} // namespace tabulon
