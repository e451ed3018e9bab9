#pragma once
// The chunk classes of the PNG class, their class descriptors and registry,
// and the pointer lists that hold them.
#include "png/ColourTypes.h"
#include "png/DibInfo.h"
#include "png/PixelMemory.h"
#include "base/Stream.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

class TPngGraphic;
class TChunk;

// The 4 bytes of a chunk type as they stand in the file.
using TChunkTypeCode = std::array<uint8_t, 4>;

// The type code as text: its bytes up to the first zero byte.
std::string TypeCodeText(const TChunkTypeCode& code);
TChunkTypeCode MakeTypeCode(std::string_view name);

// What a chunk class is, apart from its instances: its type name and a way to
// make one (the class-level ChunkTypeName and the virtual constructor).
struct TChunkClass {
    const char* chunkTypeName; // "" for the generic chunk
    std::unique_ptr<TChunk> (*construct)(TPngGraphic& owner);

    std::string_view ChunkTypeName() const { return chunkTypeName; }
    // A new chunk of this class owned by `owner`, typed by the class name
    // when that has exactly 4 characters, with an empty payload.
    std::unique_ptr<TChunk> NewChunk(TPngGraphic& owner) const;
};

// A growable array of owned pointers. Reading outside 0..Count()-1 yields
// nullptr and writing there is ignored.
template <class T> class TPointerList {
  public:
    size_t Count() const { return items_.size(); }
    // Growing adds empty slots; shrinking frees the items cut off.
    void SetCount(size_t count) { items_.resize(count); }
    T* Item(size_t index) const { return index < items_.size() ? items_[index].get() : nullptr; }
    void SetItem(size_t index, std::unique_ptr<T> item) {
        if (index < items_.size()) items_[index] = std::move(item);
    }
    void Add(std::unique_ptr<T> item) { items_.push_back(std::move(item)); }
    void Clear() { items_.clear(); }

  private:
    std::vector<std::unique_ptr<T>> items_;
};

class TChunkList : public TPointerList<TChunk> {
  public:
    // The first chunk that is an instance of C (or of a class derived from it).
    template <class C> C* FindChunk() const {
        for (size_t i = 0; i < Count(); ++i)
            if (auto* chunk = dynamic_cast<C*>(Item(i))) return chunk;
        return nullptr;
    }
};

// Declares the class descriptor of a chunk class.
#define TABULON_CHUNK_CLASS                                                                        \
  public:                                                                                          \
    static const TChunkClass kClass;                                                               \
    const TChunkClass& Class() const override {                                                    \
        return kClass;                                                                             \
    }

// A chunk of any type: keeps its raw payload.
class TChunk {
  public:
    explicit TChunk(TPngGraphic& owner);
    virtual ~TChunk() = default;
    TChunk(const TChunk&) = delete;
    TChunk& operator=(const TChunk&) = delete;

    static const TChunkClass kClass;
    virtual const TChunkClass& Class() const { return kClass; }
    std::string_view ChunkTypeName() const { return Class().ChunkTypeName(); }

    // Copies the type code and the payload; classes with state of their own add it.
    virtual void CopyChunkFrom(const TChunk& source);
    // Reads `size` payload bytes and the CRC from `stream` and checks the CRC.
    // Returns false to end the chunk loop. Raises on bad data.
    virtual bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size);

    TPngGraphic& OwnerImage() const { return *owner_; }
    const TChunkTypeCode& TypeCode() const { return typeCode_; }
    void SetTypeCode(const TChunkTypeCode& code) { typeCode_ = code; }
    const uint8_t* Payload() const { return payload_.data(); }
    uint8_t* Payload() { return payload_.data(); }
    uint32_t PayloadSize() const { return static_cast<uint32_t>(payload_.size() - 1); }
    // The buffer always has one byte more than the payload, so it is never empty.
    void ResizePayload(uint32_t size) { payload_.assign(size_t(size) + 1, 0); }

  private:
    TPngGraphic* owner_;
    TChunkTypeCode typeCode_{};
    std::vector<uint8_t> payload_;
};

class TChunkIEND : public TChunk {
    TABULON_CHUNK_CLASS
    using TChunk::TChunk;
};

// The header, and the decoded image that it describes.
class TChunkIHDR : public TChunk {
    TABULON_CHUNK_CLASS
    explicit TChunkIHDR(TPngGraphic& owner);
    ~TChunkIHDR() override;

    void CopyChunkFrom(const TChunk& source) override;
    bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) override;

    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    uint8_t BitDepth() const { return bitDepth_; }
    uint8_t ColourType() const { return colourType_; }
    uint8_t CompressionMethod() const { return compressionMethod_; }
    uint8_t FilterMethod() const { return filterMethod_; }
    uint8_t InterlaceMethod() const { return interlaceMethod_; }

    bool IsIndexed() const { return isIndexed_; }
    TDibInfo& DibHeader() { return dib_; }
    const TDibInfo& DibHeader() const { return dib_; }
    // Bytes per bitmap row (rows are padded to 32 bits).
    size_t RowStride() const { return rowStride_; }
    // Bitmap rows bottom-up: image row y starts at RowStride() * (height - 1 - y).
    uint8_t* PixelBits() const { return pixels_.Bits(); }
    uint8_t* PixelRow(uint32_t y) const { return PixelBits() + RowStride() * (height_ - 1 - y); }
    // One alpha byte per pixel, rows top-down; nullptr unless colour type 4 or 6.
    uint8_t* AlphaPlane() const { return alpha_.get(); }
    // Bits per pixel of the bitmap (0 when the header has no layout).
    unsigned PixelBitCount() const { return dib_.bitCount; }
    // The DIB section behind PixelBits and the memory DC that holds it
    // (HBITMAP and HDC); nullptr without GDI.
    NativeBitmap BitmapHandle() const { return pixels_.Bitmap(); }
    NativeDC MemoryDC() const { return pixels_.Dc(); }

    // Sets the header fields (for building images in code and tests).
    void SetHeader(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                   uint8_t interlaceMethod);
    // Fresh zeroed bitmap (and alpha plane) for the header fields.
    void PrepareImage();
    void ReleaseImage() noexcept;

  private:
    uint32_t width_ = 0, height_ = 0;
    uint8_t bitDepth_ = 0, colourType_ = 0, compressionMethod_ = 0, filterMethod_ = 0,
            interlaceMethod_ = 0;
    bool isIndexed_ = false;
    TDibInfo dib_{};
    size_t rowStride_ = 0;
    TPixelMemory pixels_;
    std::unique_ptr<uint8_t[]> alpha_;
};

class TChunkgAMA : public TChunk {
    TABULON_CHUNK_CLASS
    explicit TChunkgAMA(TPngGraphic& owner);
    void CopyChunkFrom(const TChunk& source) override;
    bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) override;
    // Gamma × 100000, as stored.
    uint32_t Gamma() const;
    void SetGamma(uint32_t value);
};

class TChunkPLTE : public TChunk {
    TABULON_CHUNK_CLASS
    using TChunk::TChunk;
    void CopyChunkFrom(const TChunk& source) override;
    bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) override;
    unsigned PaletteCount() const { return paletteCount_; }
    // The colour of entry `index` as 0x00RRGGBB; raises EPngError past the count.
    uint32_t PaletteEntry(unsigned index) const;

  private:
    unsigned paletteCount_ = 0;
};

class TChunktRNS : public TChunk {
    TABULON_CHUNK_CLASS
    explicit TChunktRNS(TPngGraphic& owner);
    void CopyChunkFrom(const TChunk& source) override;
    bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) override;
    const std::array<uint8_t, 256>& AlphaTable() const { return alphaTable_; }
    // The image leaves out exactly one colour.
    bool SingleTransparent() const { return singleTransparent_; }

  private:
    std::array<uint8_t, 256> alphaTable_;
    bool singleTransparent_ = false;
};

// The image data; reading it decodes the image (PngImageData.cpp).
class TChunkIDAT : public TChunk {
    TABULON_CHUNK_CLASS
    using TChunk::TChunk;
    bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) override;
};

class TChunktIME : public TChunk {
    TABULON_CHUNK_CLASS
    using TChunk::TChunk;
    bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) override;
    uint16_t year = 0;
    uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class TChunktEXt : public TChunk {
    TABULON_CHUNK_CLASS
    using TChunk::TChunk;
    void CopyChunkFrom(const TChunk& source) override;
    bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) override;
    std::string KeywordText;
    std::string BodyText;
};

// Compressed text. The text is inflated to at most kMaxTextBytes; anything
// larger is taken as damaged and leaves the text empty.
class TChunkzTXt : public TChunktEXt {
    TABULON_CHUNK_CLASS
    using TChunktEXt::TChunktEXt;
    bool ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) override;
    static constexpr size_t kMaxTextBytes = 1 << 20;
};

// The registered chunk classes in registration order. Filled on first use
// with IEND, IHDR, IDAT, PLTE, gAMA, tRNS, tIME, tEXt, zTXt.
std::vector<const TChunkClass*>& ChunkRegistry();
void RegisterChunkClass(const TChunkClass& chunkClass);
// The first registered class named like `typeCode`, else the generic TChunk.
const TChunkClass& FindChunkClass(const TChunkTypeCode& typeCode);

} // namespace tabulon
