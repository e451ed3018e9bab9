// The header chunk and the in-memory image it owns.
#include "png/Crc32.h"
#include "png/PngGraphic.h"

#include <cstring>
#include <new>

namespace tabulon {

namespace {

// Bits per bitmap pixel for a colour type and bit depth; 0 without a layout.
unsigned BitmapBitsFor(uint8_t colourType, uint8_t bitDepth) {
    switch (colourType) {
    case kColourGrey:
    case kColourIndexed:
    case kColourGreyAlpha:
        switch (bitDepth) {
        case 1:
            return 1;
        case 2:
        case 4:
            return 4;
        case 8:
        case 16:
            return 8;
        }
        return 0;
    case kColourRgb:
    case kColourRgbAlpha:
        return 24;
    }
    return 0;
}

// Combinations the decoder can convert.
bool HasConversion(uint8_t colourType, uint8_t bitDepth) {
    switch (colourType) {
    case kColourGrey:
    case kColourIndexed:
        return BitmapBitsFor(colourType, bitDepth) != 0;
    case kColourRgb:
    case kColourGreyAlpha:
    case kColourRgbAlpha:
        return bitDepth == 8 || bitDepth == 16;
    }
    return false;
}

} // namespace

TChunkIHDR::TChunkIHDR(TPngGraphic& owner) : TChunk(owner) {}

TChunkIHDR::~TChunkIHDR() {
    ReleaseImage();
}

void TChunkIHDR::SetHeader(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                           uint8_t interlaceMethod) {
    width_ = width;
    height_ = height;
    bitDepth_ = bitDepth;
    colourType_ = colourType;
    compressionMethod_ = 0;
    filterMethod_ = 0;
    interlaceMethod_ = interlaceMethod;
}

bool TChunkIHDR::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    TChunk::ReadBody(stream, typeCode, size);
    if (PayloadSize() < 13) RaisePngError<EPngInvalidIHDR>(kPngInvalidIHDRText);
    const uint8_t* p = Payload();
    width_ = ReadBigEndian32(p);
    height_ = ReadBigEndian32(p + 4);
    bitDepth_ = p[8];
    colourType_ = p[9];
    compressionMethod_ = p[10];
    filterMethod_ = p[11];
    interlaceMethod_ = p[12];
    if (width_ > 65535 || height_ > 65535) RaisePngError<EPNGSizeExceeds>(kPngSizeExceedsText);
    if (compressionMethod_ != 0) RaisePngError<EPNGUnknownCompression>(kPngUnknownCompressionText);
    if (interlaceMethod_ > 1) RaisePngError<EPNGUnknownInterlace>(kPngUnknownInterlaceText);
    // Combinations without a conversion and empty images cannot be decoded.
    if (width_ == 0 || height_ == 0 || !HasConversion(colourType_, bitDepth_))
        RaisePngError<EPngInvalidIHDR>(kPngInvalidIHDRText);
    OwnerImage().InterlaceKind = interlaceMethod_;
    PrepareImage();
    return true;
}

void TChunkIHDR::PrepareImage() {
    ReleaseImage();
    dib_ = TDibInfo{};
    const unsigned bits = BitmapBitsFor(colourType_, bitDepth_);
    isIndexed_ = bits != 0 && bits <= 8;
    if (bits == 0) return;
    dib_.size = kDibHeaderSize;
    dib_.width = static_cast<int32_t>(width_);
    dib_.height = static_cast<int32_t>(height_);
    dib_.planes = 1;
    dib_.bitCount = static_cast<uint16_t>(bits);
    dib_.compression = 0;
    rowStride_ = (uint64_t(bits) * width_ + 31) / 32 * 4;
    const uint64_t pixelBytes = uint64_t(rowStride_) * height_;
    const uint64_t limit = OwnerImage().ReadSettings.maxPixelBytes;
    try {
        if (pixelBytes > limit) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
        if (colourType_ == kColourGreyAlpha || colourType_ == kColourRgbAlpha) {
            const uint64_t alphaBytes = uint64_t(width_) * height_;
            if (alphaBytes > limit) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
            alpha_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(alphaBytes)]());
            if (!alpha_) RaisePngError<EPNGOutMemory>(kPngOutOfResourcesText);
        }
        pixels_ = TPixelMemory(dib_, pixelBytes);
    } catch (...) {
        ReleaseImage();
        throw;
    }
}

void TChunkIHDR::ReleaseImage() noexcept {
    pixels_ = TPixelMemory();
    alpha_.reset();
    rowStride_ = 0;
}

void TChunkIHDR::CopyChunkFrom(const TChunk& source) {
    const auto* header = dynamic_cast<const TChunkIHDR*>(&source);
    if (!header) RaisePngError<EPngError>(kPngIncompatibleChunkText);
    width_ = header->width_;
    height_ = header->height_;
    bitDepth_ = header->bitDepth_;
    colourType_ = header->colourType_;
    compressionMethod_ = header->compressionMethod_;
    filterMethod_ = header->filterMethod_;
    interlaceMethod_ = header->interlaceMethod_;
    PrepareImage();
    if (PixelBits() && header->PixelBits())
        std::memcpy(PixelBits(), header->PixelBits(), rowStride_ * height_);
    if (AlphaPlane() && header->AlphaPlane())
        std::memcpy(AlphaPlane(), header->AlphaPlane(), size_t(width_) * height_);
    std::memcpy(dib_.colors, header->dib_.colors, sizeof dib_.colors);
}

} // namespace tabulon
