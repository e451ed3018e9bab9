// Reading the image data: inflates the zlib stream carried by consecutive
// IDAT chunks, unfilters each row and converts it into the header's bitmap.
//
// Why so much state: inflating one row per call is the behaviour this reader
// keeps (which rows a damaged stream still fills, which error it raises and
// for which row, where the final CRC is read), but it is slow, because
// inflate's fast loop stops short of the end of every output. So rows are
// inflated many at a time into a stage (TRowStage) and handed out one by
// one, and the two classes below keep what is needed to reproduce, from the
// batched calls, exactly where a row-by-row reader would have stopped: the
// held-back last byte of each input block, where that block was fetched, a
// failure met ahead of the rows and the row it belongs to. A simpler
// structure (one inflate call per row, or batching without this
// bookkeeping) either loses the speed or changes the outcome of damaged
// files; the tests on split and truncated data and the PNG suite pin it.
#include "png/Crc32.h"
#include "png/PngGraphic.h"
#include "png/PngRows.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

namespace tabulon {

namespace {

constexpr size_t kInputBufferSize = 65535;
// The input buffer is shared: compressed data is read into its first part in
// pieces, and the rest holds inflated rows ahead of the decoder, so that
// inflate works on large outputs (its fast loop stops short of the end of each
// output, which with one row per call costs more than the rows' unfiltering).
constexpr size_t kPieceSize = 16384;
constexpr size_t kStageSize = kInputBufferSize - kPieceSize;

struct TAdam7Pass {
    uint32_t row, column, rowStep, columnStep;
};
constexpr TAdam7Pass kAdam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                  {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};

// The compressed input: the data of consecutive IDAT chunks, checked chunk by
// chunk against their CRCs, fed through inflate.
class TCompressedInput {
  public:
    TCompressedInput(TStream& stream, const TChunkTypeCode& typeCode, uint32_t size, bool checkCrc)
        : stream_(stream), input_(new uint8_t[kInputBufferSize]), checkCrc_(checkCrc) {
        crc_ = UpdateCrc(kCrcStart, typeCode.data(), typeCode.size());
        end_ = stream_.Position() + size;
        const int result = inflateInit(&zstream_);
        if (result != Z_OK) RaiseZlibError(result);
        inflating_ = true;
    }
    ~TCompressedInput() { EndInflate(); }
    TCompressedInput(const TCompressedInput&) = delete;
    TCompressedInput& operator=(const TCompressedInput&) = delete;

    // Room for inflated rows inside the input buffer, kStageSize bytes.
    uint8_t* Stage() const { return input_.get() + kPieceSize; }

    // Inflates up to `count` bytes into `destination`; fewer when the data ends.
    // Compressed data comes in blocks of up to kInputBufferSize bytes per chunk
    // (the stream's rest at most), read in pieces. The last byte of each block
    // is held back unless `rowByRow`: the caller then asks for no more than the
    // row in progress, so that the block runs out exactly where inflating one
    // row per call would have it run out. Without `rowByRow` the call stops
    // early at that byte (StoppedAtReserve()).
    size_t ReadCompressed(uint8_t* destination, size_t count, bool rowByRow) {
        callStart_ = Produced();
        lastCount_ = count;
        stoppedAtReserve_ = false;
        zstream_.next_out = destination;
        zstream_.avail_out = static_cast<uInt>(count);
        if (ended_) return 0;
        while (zstream_.avail_out > 0) {
            if (zstream_.avail_in == 0) {
                if (hidden_ == 0) {
                    if (blockLeft_ == 0) {
                        fetchAt_ = Produced();
                        // Also passes over empty IDAT chunks.
                        while (stream_.Position() >= end_)
                            NextChunk();
                        blockLeft_ = std::min<uint64_t>(
                            {kInputBufferSize, end_ - stream_.Position(), stream_.Remaining()});
                        tail_ = false;
                    }
                    if (!ReadPiece()) return Delivered(count);
                }
                if (zstream_.avail_in == 0) {
                    if (!rowByRow) {
                        stoppedAtReserve_ = true;
                        return Delivered(count);
                    }
                    Expose();
                }
            }
            if (!Inflate()) return Delivered(count);
        }
        GoOnWithoutRoom();
        return count;
    }

    // Lets inflate go on without output room through what needs none (block
    // ends, headers, the checksum, the next code), as far as the current block
    // goes: what the call for the row that ends here would have done.
    void Drain() {
        callStart_ = Produced();
        lastCount_ = 0;
        zstream_.avail_out = 0;
        GoOnWithoutRoom();
    }

    bool StoppedAtReserve() const { return stoppedAtReserve_; }
    // The current block was read before the output reached `position`.
    bool FetchedBefore(uint64_t position) const { return fetchAt_ < position; }
    // The end of the current block is within inflate's reach: rows must be
    // asked for one at a time until the next block.
    bool NearBlockEnd() const { return tail_ || (zstream_.avail_in == 0 && hidden_ > 0); }

    // Output bytes so far; valid also after ReadCompressed raised.
    uint64_t Produced() const { return callStart_ + (lastCount_ - zstream_.avail_out); }
    size_t Delivered() const { return Delivered(lastCount_); }
    // Whether inflating row by row would have raised the last error only for
    // the row after the one ending at Produced(): the failing input was read
    // after the output reached that point, or the error (a match reaching back
    // too far) shows only when there is room to copy the match.
    bool FailedLate() const {
        return fetchAt_ == Produced() ||
               (zstream_.msg && std::strcmp(zstream_.msg, "invalid distance too far back") == 0);
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

    // The next piece of the current block; false when the stream ended.
    bool ReadPiece() {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(kPieceSize, blockLeft_));
        const size_t got = stream_.Read(input_.get(), want);
        blockLeft_ = got < want ? 0 : blockLeft_ - got;
        if (got == 0) return false;
        crc_ = UpdateCrc(crc_, input_.get(), got);
        hidden_ = blockLeft_ == 0 ? 1 : 0;
        zstream_.next_in = input_.get();
        zstream_.avail_in = static_cast<uInt>(got - hidden_);
        return true;
    }

    // With the output full, inflate takes what input a call holding the
    // whole block would have had.
    void GoOnWithoutRoom() {
        while (!ended_) {
            if (zstream_.avail_in == 0) {
                if (hidden_ == 0 && (blockLeft_ == 0 || !ReadPiece())) return;
                Expose();
            }
            if (!Inflate() || zstream_.avail_in > 0) return;
        }
    }

    // Hands the held-back byte to inflate.
    void Expose() {
        zstream_.avail_in += static_cast<uInt>(hidden_);
        hidden_ = 0;
        if (blockLeft_ == 0) tail_ = true;
    }

    // One inflate step; false at the end of the compressed stream, or when it
    // makes no progress for want of output room.
    bool Inflate() {
        const int result = inflate(&zstream_, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            // Nothing more will come out, whatever input remains.
            ended_ = true;
            return false;
        }
        if (result == Z_BUF_ERROR && zstream_.avail_out == 0) return false;
        // A preset dictionary is not allowed in PNG and inflate would make
        // no progress without one.
        if (result < 0 || result == Z_NEED_DICT) RaiseZlibError(result);
        return true;
    }

    void EndInflate() noexcept {
        if (inflating_) inflateEnd(&zstream_);
        inflating_ = false;
    }

    void CheckCrc() {
        uint8_t bytes[4];
        if (stream_.Read(bytes, 4) != 4 || (checkCrc_ && ReadBigEndian32(bytes) != ~crc_))
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
    bool checkCrc_;
    size_t lastCount_ = 0;
    uint64_t callStart_ = 0;
    uint64_t blockLeft_ = 0; // bytes of the current block still in the stream
    size_t hidden_ = 0;      // held back after the pending input
    uint64_t fetchAt_ = UINT64_MAX;
    bool tail_ = false; // the block's last byte has been handed to inflate
    bool stoppedAtReserve_ = false;
    bool inflating_ = false;
    bool ended_ = false;
};

// Inflated rows ahead of the decoder, held in the stage of the input buffer.
// The decoder sees the same bytes and the same errors as when it inflates one
// row per call: the stage never asks for more than the image still needs,
// asks row by row where a block of input runs out, and an error met while
// filling it is raised only for the row whose call would have met it.
class TRowStage {
  public:
    // Rows of `rowSize` bytes, `rows` of them, one group per Adam7 pass.
    struct TGroup {
        uint64_t rowSize, rows;
    };

    TRowStage(TCompressedInput& input, const TGroup* groups, size_t groupCount)
        : input_(input), stage_(input.Stage()), groups_(groups), groupCount_(groupCount) {
        for (size_t g = 0; g < groupCount; ++g)
            remaining_ += groups[g].rowSize * groups[g].rows;
    }

    // Delivers the next `count` bytes (fewer when the data ends) and returns
    // where they are: in the stage when a whole row is there, else in `row`.
    const uint8_t* Take(uint8_t* row, size_t count, size_t& delivered) {
        if (end_ - begin_ < count) Refill(count);
        const uint64_t rowEnd = taken_ + count;
        if (failure_ && (failedAt_ < rowEnd || (failedAt_ == rowEnd && !failedLate_)))
            std::rethrow_exception(failure_);
        const size_t have = end_ - begin_;
        if (have >= count) {
            const uint8_t* bytes = stage_ + begin_;
            begin_ += count;
            taken_ = rowEnd;
            delivered = count;
            return bytes;
        }
        // The data ran short of this row, or the row is larger than the stage.
        std::memcpy(row, stage_ + begin_, have);
        begin_ = end_ = 0;
        delivered = have;
        if (count > kStageSize && !dry_) {
            const size_t got = input_.ReadCompressed(row + have, count - have, true);
            remaining_ -= got;
            produced_ += got;
            delivered += got;
            if (got < count - have) dry_ = true;
            if (remaining_ == 0) input_.Drain();
        }
        taken_ += delivered;
        return row;
    }

  private:
    // Bytes from `position` to the end of the row it falls in (the next row
    // when it is a row boundary).
    uint64_t ToRowEnd(uint64_t position) const {
        for (size_t g = 0; g < groupCount_; ++g) {
            const uint64_t size = groups_[g].rowSize * groups_[g].rows;
            if (position < size) return groups_[g].rowSize - position % groups_[g].rowSize;
            position -= size;
        }
        return 0;
    }

    bool AtRowStart(uint64_t position) const {
        for (size_t g = 0; g < groupCount_; ++g) {
            const uint64_t size = groups_[g].rowSize * groups_[g].rows;
            if (position < size) return position % groups_[g].rowSize == 0;
            position -= size;
        }
        return true;
    }

    void Refill(size_t count) {
        if (failure_ || dry_ || count > kStageSize) return;
        const size_t have = end_ - begin_;
        std::memmove(stage_, stage_ + begin_, have);
        begin_ = 0;
        end_ = have;
        try {
            while (remaining_ > 0 && end_ < kStageSize) {
                const bool rowByRow = input_.NearBlockEnd();
                uint64_t want = std::min<uint64_t>(kStageSize - end_, remaining_);
                if (rowByRow) {
                    const uint64_t toRowEnd = ToRowEnd(produced_);
                    // A row that does not fit waits for room: stopping inside
                    // it could find the block's end earlier than its own call.
                    if (toRowEnd > want) break;
                    want = toRowEnd;
                }
                const size_t got = input_.ReadCompressed(stage_ + end_, size_t(want), rowByRow);
                Count(got);
                if (got < want && !input_.StoppedAtReserve()) {
                    dry_ = true;
                    break;
                }
                // Stopped at the end of a row that began before this block was
                // read: that row's own call would have gone on to the block's
                // last byte after filling its output.
                if (input_.StoppedAtReserve() && produced_ > 0 && AtRowStart(produced_) &&
                    input_.FetchedBefore(produced_))
                    input_.Drain();
            }
            if (remaining_ == 0) input_.Drain();
        } catch (...) {
            Count(input_.Delivered());
            failure_ = std::current_exception();
            failedAt_ = input_.Produced();
            failedLate_ = input_.FailedLate();
        }
    }

    void Count(size_t got) {
        remaining_ -= got;
        produced_ += got;
        end_ += got;
    }

    TCompressedInput& input_;
    uint8_t* stage_;
    const TGroup* groups_;
    size_t groupCount_;
    uint64_t remaining_ = 0; // image bytes not inflated yet
    uint64_t produced_ = 0;  // image bytes inflated so far
    uint64_t taken_ = 0;     // image bytes handed out so far
    size_t begin_ = 0, end_ = 0;
    bool dry_ = false;
    std::exception_ptr failure_;
    uint64_t failedAt_ = 0;
    bool failedLate_ = false;
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

// Adam7 pass geometry: pixels per pass row and pass rows.
size_t PassWidth(const TAdam7Pass& pass, uint32_t width) {
    return width > pass.column ? (width - pass.column + pass.columnStep - 1) / pass.columnStep : 0;
}
size_t PassHeight(const TAdam7Pass& pass, uint32_t height) {
    return height > pass.row ? (height - pass.row + pass.rowStep - 1) / pass.rowStep : 0;
}

struct TIdentityRamp {
    uint8_t values[256];
    TIdentityRamp() {
        for (unsigned i = 0; i < 256; ++i)
            values[i] = uint8_t(i);
    }
};

bool IsIdentity(const uint8_t* ramp) {
    static const TIdentityRamp identity;
    return std::memcmp(ramp, identity.values, 256) == 0;
}

class TImageDataDecoder {
  public:
    TImageDataDecoder(TChunkIHDR& header, TCompressedInput& input, const uint8_t* gamma)
        : header_(header), gamma_(gamma), identityGamma_(IsIdentity(gamma)),
          firstBytesOnly_(header.BitDepth() == 16 && header.ColourType() != kColourIndexed),
          geometry_(header.OwnerImage().PixelGeometry()), rows_(geometry_.rowBytes),
          groupCount_(MakeGroups()), stage_(input, groups_, groupCount_) {}

    void DecodeRows(bool interlaced) {
        if (interlaced)
            DecodeAdam7();
        else
            DecodePlain();
    }

  private:
    // The rows of the inflated image data, filter bytes included.
    size_t MakeGroups() {
        if (header_.InterlaceMethod() != 1) {
            groups_[0] = {geometry_.rowBytes + 1, header_.Height()};
            return 1;
        }
        size_t count = 0;
        for (const TAdam7Pass& pass : kAdam7) {
            const size_t rowBytes = PixelGeometryOf(header_.ColourType(), header_.BitDepth(),
                                                    PassWidth(pass, header_.Width()))
                                        .rowBytes;
            const size_t rows = PassHeight(pass, header_.Height());
            if (rowBytes > 0 && rows > 0) groups_[count++] = {rowBytes + 1, rows};
        }
        return count;
    }

    // Reads and unfilters the next row of `rowBytes`; false when the data ended.
    bool NextRow(size_t rowBytes) {
        size_t delivered = 0;
        const uint8_t* raw = stage_.Take(rows_.Current(), rowBytes + 1, delivered);
        if (delivered == 0) return false;
        UnfilterRow(raw, rows_.Current(), rows_.Prior(), rowBytes, geometry_.filterStride,
                    firstBytesOnly_);
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
            colourType == kColourRgb || colourType == kColourRgbAlpha
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
    const uint8_t* gamma_;
    bool identityGamma_;
    bool firstBytesOnly_;
    TPixelGeometry geometry_;
    TRowBuffers rows_;
    TRowStage::TGroup groups_[7];
    size_t groupCount_;
    TRowStage stage_;
};

// Grey images show their levels through a ramp in the colour table, with the
// decoding gamma applied: n levels i map to i * 255 / (n - 1), rounded.
void BuildGreyRamp(TChunkIHDR& header) {
    if (header.ColourType() != kColourGrey && header.ColourType() != kColourGreyAlpha) return;
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
    TCompressedInput input(stream, typeCode, size, image.ReadSettings.checkCrc);
    {
        TImageDataDecoder decoder(header, input, image.GammaRamp().data());
        decoder.DecodeRows(header.InterlaceMethod() == 1);
    }
    input.Finish();
    return true;
}

} // namespace tabulon
