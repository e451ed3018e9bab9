// Reading the image data: inflates the zlib stream carried by consecutive
// IDAT chunks, unfilters each row and converts it into the header's bitmap.
#include "png/Crc32.h"
#include "png/PngGraphic.h"
#include "png/PngRows.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace tabulon {

namespace {

constexpr size_t kInputBufferSize = 65535;

struct TAdam7Pass {
    uint32_t row, column, rowStep, columnStep;
};
constexpr TAdam7Pass kAdam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                  {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};

// The compressed input: the data of consecutive IDAT chunks, checked chunk by
// chunk against their CRCs, fed through inflate.
class TCompressedInput {
  public:
    TCompressedInput(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size)
        : stream_(stream), input_(new uint8_t[kInputBufferSize]) {
        crc_ = UpdateCrc(kCrcStart, typeCode.data(), typeCode.size());
        end_ = stream_.Position() + size;
        const int result = inflateInit(&zstream_);
        if (result != Z_OK) RaiseZlibError(result);
        inflating_ = true;
    }
    ~TCompressedInput() { EndInflate(); }
    TCompressedInput(const TCompressedInput&) = delete;
    TCompressedInput& operator=(const TCompressedInput&) = delete;

    // Inflates up to `count` bytes into `destination`; fewer when the data ends.
    size_t ReadCompressed(uint8_t* destination, size_t count) {
        if (ended_) return 0;
        zstream_.next_out = destination;
        zstream_.avail_out = static_cast<uInt>(count);
        while (zstream_.avail_out > 0) {
            if (zstream_.avail_in == 0) {
                // Also passes over empty IDAT chunks.
                while (stream_.Position() >= end_)
                    NextChunk();
                const size_t want = static_cast<size_t>(
                    std::min<uint64_t>(kInputBufferSize, end_ - stream_.Position()));
                const size_t got = stream_.Read(input_.get(), want);
                if (got == 0) return Delivered(count);
                crc_ = UpdateCrc(crc_, input_.get(), got);
                zstream_.next_in = input_.get();
                zstream_.avail_in = static_cast<uInt>(got);
            }
            const int result = inflate(&zstream_, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                // Nothing more will come out, whatever input remains.
                ended_ = true;
                return Delivered(count);
            }
            // A preset dictionary is not allowed in PNG and inflate would make
            // no progress without one.
            if (result < 0 || result == Z_NEED_DICT) RaiseZlibError(result);
        }
        return count;
    }

    // Ends inflating, reads whatever is left of the current chunk into its
    // CRC, and checks the CRC that follows.
    void Finish() {
        EndInflate();
        while (stream_.Position() < end_) {
            const size_t want = static_cast<size_t>(
                std::min<uint64_t>(kInputBufferSize, end_ - stream_.Position()));
            const size_t got = stream_.Read(input_.get(), want);
            if (got == 0) break;
            crc_ = UpdateCrc(crc_, input_.get(), got);
        }
        input_.reset();
        CheckCrc();
    }

  private:
    size_t Delivered(size_t count) const { return count - zstream_.avail_out; }

    void EndInflate() noexcept {
        if (inflating_) inflateEnd(&zstream_);
        inflating_ = false;
    }

    void CheckCrc() {
        uint8_t bytes[4];
        if (stream_.Read(bytes, 4) != 4 || ReadBigEndian32(bytes) != ~crc_)
            RaisePngError<EPngInvalidCRC>(kPngInvalidCRCText);
    }

    // The current chunk is used up: check it and move into the next, which
    // must be image data too.
    void NextChunk() {
        CheckCrc();
        uint8_t header[8] = {};
        stream_.Read(header, sizeof header);
        TChunkTypeCode type;
        std::memcpy(type.data(), header + 4, 4);
        if (TypeCodeText(type) != "IDAT")
            RaisePngError<EPNGMissingMultipleIDAT>(kPngMissingMultipleIDATText);
        crc_ = UpdateCrc(kCrcStart, type.data(), type.size());
        end_ = stream_.Position() + ReadBigEndian32(header);
    }

    TStream& stream_;
    std::unique_ptr<uint8_t[]> input_;
    z_stream zstream_{};
    uint64_t end_ = 0;
    uint32_t crc_ = 0;
    bool inflating_ = false;
    bool ended_ = false;
};

// The two row buffers; each holds the filter byte and one full-width row.
class TRowBuffers {
  public:
    explicit TRowBuffers(size_t rowBytes)
        : current_(new uint8_t[rowBytes + 1]()), prior_(new uint8_t[rowBytes + 1]()),
          size_(rowBytes + 1) {}
    uint8_t* Current() const { return current_.get(); }
    uint8_t* Prior() const { return prior_.get(); }
    void Swap() { std::swap(current_, prior_); }
    void ClearPrior() { std::memset(prior_.get(), 0, size_); }

  private:
    std::unique_ptr<uint8_t[]> current_, prior_;
    size_t size_;
};

bool IsIdentity(const uint8_t* ramp) {
    for (unsigned i = 0; i < 256; ++i)
        if (ramp[i] != i) return false;
    return true;
}

class TImageDataDecoder {
  public:
    TImageDataDecoder(TChunkIHDR& header, TCompressedInput& input, const uint8_t* gamma)
        : header_(header), input_(input), gamma_(gamma), identityGamma_(IsIdentity(gamma)),
          firstBytesOnly_(header.BitDepth() == 16 && header.ColourType() != 3),
          geometry_(header.OwnerImage().PixelGeometry()), rows_(geometry_.rowBytes) {}

    void DecodeRows(bool interlaced) {
        if (interlaced)
            DecodeAdam7();
        else
            DecodePlain();
    }

  private:
    // Reads and unfilters the next row of `rowBytes`; false when the data ended.
    bool NextRow(size_t rowBytes) {
        if (input_.ReadCompressed(rows_.Current(), rowBytes + 1) == 0) return false;
        UnfilterRow(rows_.Current(), rows_.Current(), rows_.Prior(), rowBytes,
                    geometry_.filterStride, firstBytesOnly_);
        return true;
    }

    void DecodePlain() {
        const TRowConverter convert =
            ChooseRowConverter(header_.ColourType(), header_.BitDepth(), identityGamma_);
        const uint32_t width = header_.Width();
        TRowJob job{nullptr, geometry_.rowBytes, width, 0, 1, nullptr, nullptr, gamma_};
        uint8_t* alpha = header_.AlphaPlane();
        for (uint32_t y = 0; y < header_.Height(); ++y) {
            if (!NextRow(geometry_.rowBytes)) return;
            job.source = rows_.Current() + 1;
            job.bits = header_.PixelRow(y);
            job.alpha = alpha ? alpha + size_t(y) * width : nullptr;
            convert(job);
            rows_.Swap();
        }
    }

    void DecodeAdam7() {
        const uint8_t colourType = header_.ColourType();
        const TRowConverter passConvert =
            ChoosePassConverter(colourType, header_.BitDepth(), identityGamma_);
        // Colour rows of the last pass are whole rows that no other pass
        // touches, so the whole-row converter does the same work there.
        const TRowConverter rowConvert =
            colourType == 2 || colourType == 6
                ? ChooseRowConverter(colourType, header_.BitDepth(), identityGamma_)
                : passConvert;
        const uint32_t width = header_.Width();
        uint8_t* alpha = header_.AlphaPlane();
        for (const TAdam7Pass& pass : kAdam7) {
            const size_t passWidth =
                width > pass.column ? (width - pass.column + pass.columnStep - 1) / pass.columnStep
                                    : 0;
            const size_t rowBytes =
                PixelGeometryOf(header_.ColourType(), header_.BitDepth(), passWidth).rowBytes;
            rows_.ClearPrior();
            if (rowBytes == 0) continue;
            const TRowConverter convert = pass.columnStep == 1 ? rowConvert : passConvert;
            TRowJob job{nullptr,         rowBytes, passWidth, pass.column,
                        pass.columnStep, nullptr,  nullptr,   gamma_};
            for (uint32_t y = pass.row; y < header_.Height(); y += pass.rowStep) {
                if (!NextRow(rowBytes)) break;
                job.source = rows_.Current() + 1;
                job.bits = header_.PixelRow(y);
                job.alpha = alpha ? alpha + size_t(y) * width : nullptr;
                convert(job);
                rows_.Swap();
            }
        }
    }

    TChunkIHDR& header_;
    TCompressedInput& input_;
    const uint8_t* gamma_;
    bool identityGamma_;
    bool firstBytesOnly_;
    TPixelGeometry geometry_;
    TRowBuffers rows_;
};

// Grey images show their levels through a ramp in the colour table, with the
// decoding gamma applied: n levels i map to i * 255 / (n - 1), rounded.
void BuildGreyRamp(TChunkIHDR& header) {
    if (header.ColourType() != 0 && header.ColourType() != 4) return;
    const unsigned bits = header.PixelBitCount();
    if (bits == 0 || bits > 8) return;
    const unsigned n = 1u << bits;
    const auto& gamma = header.OwnerImage().GammaRamp();
    for (unsigned i = 0; i < n; ++i) {
        const unsigned level = (i * 255 + (n - 1) / 2) / (n - 1);
        const uint8_t value = gamma[level];
        header.DibHeader().colors[i] = TRgbQuad{value, value, value, 0};
    }
}

} // namespace

bool TChunkIDAT::ReadBody(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size) {
    TPngGraphic& image = OwnerImage();
    TChunkIHDR& header = image.HeaderChunk();
    if (!header.PixelBits() || !ChooseRowConverter(header.ColourType(), header.BitDepth()))
        RaisePngError<EPngInvalidIHDR>(kPngInvalidIHDRText);
    if (header.IsIndexed()) BuildGreyRamp(header);
    TCompressedInput input(stream, typeCode, size);
    {
        TImageDataDecoder decoder(header, input, image.GammaRamp().data());
        decoder.DecodeRows(header.InterlaceMethod() == 1);
    }
    input.Finish();
    return true;
}

} // namespace tabulon
