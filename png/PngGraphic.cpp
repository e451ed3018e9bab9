// The PNG picture: the chunk loop, clearing and copying.
#include "png/PngGraphic.h"

#include "png/Crc32.h"

#include <cstring>
#include <numeric>

namespace tabulon {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

bool IsCritical(const TChunkTypeCode& type) {
    return type[0] != 0 && (type[0] & 0x20) == 0;
}

} // namespace

TPixelGeometry PixelGeometryOf(uint8_t colourType, uint8_t bitDepth, uint64_t pixels) {
    const uint64_t d = bitDepth;
    switch (colourType) {
    case kColourGrey:
        return {static_cast<size_t>((pixels * d + 7) / 8), d == 16 ? 2u : 1u};
    case kColourIndexed:
        return {static_cast<size_t>((pixels * d + 7) / 8), 1};
    case kColourRgb:
        return {static_cast<size_t>(pixels * d * 3 / 8), static_cast<size_t>(3 * d / 8)};
    case kColourGreyAlpha:
        return {static_cast<size_t>(pixels * d * 2 / 8), static_cast<size_t>(d / 4)};
    case kColourRgbAlpha:
        return {static_cast<size_t>(pixels * d * 4 / 8), static_cast<size_t>(d / 2)};
    }
    return {};
}

TPngGraphic::TPngGraphic() {
    std::iota(gammaRamp_.begin(), gammaRamp_.end(), 0);
    std::iota(inverseGammaRamp_.begin(), inverseGammaRamp_.end(), 0);
}

TPngGraphic::~TPngGraphic() {
    ClearChunks();
}

void TPngGraphic::ClearChunks() {
    std::iota(gammaRamp_.begin(), gammaRamp_.end(), 0);
    std::iota(inverseGammaRamp_.begin(), inverseGammaRamp_.end(), 0);
    chunks_.Clear();
}

TChunkIHDR* TPngGraphic::FindHeader() const {
    return dynamic_cast<TChunkIHDR*>(chunks_.Item(0));
}

TChunkIHDR& TPngGraphic::HeaderChunk() const {
    TChunkIHDR* header = FindHeader();
    if (!header) RaisePngError<EPNGHeaderNotPresent>(kPngHeaderNotPresentText);
    return *header;
}

uint32_t TPngGraphic::PixelWidth() const {
    const TChunkIHDR* header = FindHeader();
    return header ? header->Width() : 0;
}

uint32_t TPngGraphic::PixelHeight() const {
    const TChunkIHDR* header = FindHeader();
    return header ? header->Height() : 0;
}

void TPngGraphic::SetWidth(int) {
    RaisePngError<EPngError>(kPngCannotResizeText);
}
void TPngGraphic::SetHeight(int) {
    RaisePngError<EPngError>(kPngCannotResizeText);
}

TPixelGeometry TPngGraphic::PixelGeometry() const {
    const TChunkIHDR* header = FindHeader();
    if (!header) return {};
    return PixelGeometryOf(header->ColourType(), header->BitDepth(), header->Width());
}

void TPngGraphic::DecodeFromStream(TStream& stream) {
    ClearChunks();
    uint8_t signature[8];
    if (stream.Read(signature, 8) != 8 || std::memcmp(signature, kSignature, 8) != 0)
        RaisePngError<EPNGInvalidFileHeader>(kPngInvalidFileHeaderText);

    chunks_.SetCount(10);
    size_t counter = 0;
    bool hasImageData = false;
    TChunkTypeCode type{};
    do {
        ++counter;
        if (counter > chunks_.Count()) chunks_.SetCount(chunks_.Count() + 10);
        uint8_t length[4];
        // A partial length or type code is as much an end as none at all.
        if (stream.Read(length, 4) != 4 || stream.Read(type.data(), 4) != 4) {
            chunks_.SetCount(counter - 1);
            RaisePngError<EPngUnexpectedEnd>(kPngUnexpectedEndText);
        }
        const uint32_t size = ReadBigEndian32(length);
        const std::string name = TypeCodeText(type);
        if (counter == 1 && name != "IHDR") {
            chunks_.SetCount(counter - 1);
            RaisePngError<EPNGIHDRNotFirst>(kPngIHDRNotFirstText);
        }
        // Chromaticities are not used, and image data is read in one go from
        // its first chunk: later groups are passed over unchecked.
        if (name == "cHRM" || (name == "IDAT" && hasImageData)) {
            --counter;
            stream.Seek(stream.Position() + size + 4);
            continue;
        }
        if (name == "IDAT") hasImageData = true;
        const TChunkClass& chunkClass = FindChunkClass(type);
        std::unique_ptr<TChunk> owned = chunkClass.NewChunk(*this);
        owned->SetTypeCode(type);
        TChunk* chunk = owned.get();
        chunks_.SetItem(counter - 1, std::move(owned));
        if (&chunkClass == &TChunk::kClass && IsCritical(type)) {
            chunks_.SetCount(counter);
            RaisePngError<EPNGUnknownCriticalChunk>(kPngUnknownCriticalChunkText);
        }
        bool goOn = false;
        try {
            goOn = chunk->ReadBody(stream, type, size);
        } catch (...) {
            chunks_.SetCount(counter);
            throw;
        }
        if (!goOn) break;
    } while (TypeCodeText(type) != "IEND");
    chunks_.SetCount(counter);
    if (!hasImageData) RaisePngError<EPNGNoImageData>(kPngNoImageDataText);
}

void TPngGraphic::CopyImageFrom(const TPngGraphic& source) {
    if (&source == this) return;
    InterlaceKind = source.InterlaceKind;
    SetIdatLimit(source.idatLimit_);
    ZlibLevel = source.ZlibLevel;
    FilterSet = source.FilterSet;
    ClearChunks();
    // The copied pixels and colours already carry the source's gamma; keeping
    // its tables makes the copy answer like the source (transparent key).
    gammaRamp_ = source.gammaRamp_;
    inverseGammaRamp_ = source.inverseGammaRamp_;
    chunks_.SetCount(source.chunks_.Count());
    for (size_t i = 0; i < source.chunks_.Count(); ++i) {
        const TChunk* from = source.chunks_.Item(i);
        if (!from) continue;
        std::unique_ptr<TChunk> owned = from->Class().NewChunk(*this);
        TChunk* chunk = owned.get();
        chunks_.SetItem(i, std::move(owned));
        chunk->CopyChunkFrom(*from);
    }
}

std::unique_ptr<TGraphic> TPngGraphic::Clone() const {
    auto copy = std::make_unique<TPngGraphic>();
    copy->CopyImageFrom(*this);
    return copy;
}

} // namespace tabulon
