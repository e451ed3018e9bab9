// The generic chunk, the class descriptors and the chunk registry.
#include "png/PngChunks.h"

#include "png/Crc32.h"
#include "png/PngErrors.h"
#include "png/PngGraphic.h"

#include <cstring>

namespace tabulon {

namespace {

template <class C> std::unique_ptr<TChunk> Construct(TPngGraphic& owner) {
    return std::make_unique<C>(owner);
}

// No chunk of a valid file is longer; beyond it we would only allocate garbage.
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

} // namespace

const TChunkClass TChunk::kClass{"", &Construct<TChunk>};
const TChunkClass TChunkIEND::kClass{"IEND", &Construct<TChunkIEND>};
const TChunkClass TChunkIHDR::kClass{"IHDR", &Construct<TChunkIHDR>};
const TChunkClass TChunkIDAT::kClass{"IDAT", &Construct<TChunkIDAT>};
const TChunkClass TChunkPLTE::kClass{"PLTE", &Construct<TChunkPLTE>};
const TChunkClass TChunkgAMA::kClass{"gAMA", &Construct<TChunkgAMA>};
const TChunkClass TChunktRNS::kClass{"tRNS", &Construct<TChunktRNS>};
const TChunkClass TChunktIME::kClass{"tIME", &Construct<TChunktIME>};
const TChunkClass TChunktEXt::kClass{"tEXt", &Construct<TChunktEXt>};
const TChunkClass TChunkzTXt::kClass{"zTXt", &Construct<TChunkzTXt>};

std::string TypeCodeText(const TChunkTypeCode& code) {
    std::string text;
    for (uint8_t c : code) {
        if (c == 0) break;
        text += static_cast<char>(c);
    }
    return text;
}

TChunkTypeCode MakeTypeCode(std::string_view name) {
    TChunkTypeCode code{};
    for (size_t i = 0; i < code.size() && i < name.size(); ++i)
        code[i] = static_cast<uint8_t>(name[i]);
    return code;
}

std::unique_ptr<TChunk> TChunkClass::NewChunk(TPngGraphic& owner) const {
    std::unique_ptr<TChunk> chunk = construct(owner);
    if (ChunkTypeName().size() == 4) chunk->SetTypeCode(MakeTypeCode(ChunkTypeName()));
    return chunk;
}

TChunk::TChunk(TPngGraphic& owner) : owner_(&owner), payload_(1, 0) {}

void TChunk::CopyChunkFrom(const TChunk& source) {
    typeCode_ = source.typeCode_;
    payload_ = source.payload_;
}

bool TChunk::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    // A length the stream cannot hold is damage: refuse it before allocating.
    if (size > kMaxChunkLength || size > stream.Remaining())
        RaisePngError<EPngUnexpectedEnd>(kPngUnexpectedEndText);
    ResizePayload(size);
    if (size > 0 && stream.Read(Payload(), size) != size)
        RaisePngError<EPngUnexpectedEnd>(kPngUnexpectedEndText);
    uint8_t crcBytes[4];
    if (stream.Read(crcBytes, 4) != 4) RaisePngError<EPngUnexpectedEnd>(kPngUnexpectedEndText);
    if (!OwnerImage().ReadSettings.checkCrc) return true;
    uint32_t crc = UpdateCrc(kCrcStart, typeCode.data(), typeCode.size());
    crc = ~UpdateCrc(crc, Payload(), size);
    if (crc != ReadBigEndian32(crcBytes)) RaisePngError<EPngInvalidCRC>(kPngInvalidCRCText);
    return true;
}

std::vector<const TChunkClass*>& ChunkRegistry() {
    static std::vector<const TChunkClass*> registry{
        &TChunkIEND::kClass, &TChunkIHDR::kClass, &TChunkIDAT::kClass,
        &TChunkPLTE::kClass, &TChunkgAMA::kClass, &TChunktRNS::kClass,
        &TChunktIME::kClass, &TChunktEXt::kClass, &TChunkzTXt::kClass};
    return registry;
}

void RegisterChunkClass(const TChunkClass& chunkClass) {
    ChunkRegistry().push_back(&chunkClass);
}

const TChunkClass& FindChunkClass(const TChunkTypeCode& typeCode) {
    const std::string name = TypeCodeText(typeCode);
    for (const TChunkClass* chunkClass : ChunkRegistry())
        if (chunkClass->ChunkTypeName() == name) return *chunkClass;
    return TChunk::kClass;
}

} // namespace tabulon
