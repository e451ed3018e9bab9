#pragma once
// Reading and writing of Windows BMP files, independent of the platform.
//
// DecodeBmp reads every kind a user may drop in as a background: 1, 4, 8, 16,
// 24 and 32 bits per pixel, BI_RGB, BI_BITFIELDS (separate masks or masks inside
// a V4/V5 header), RLE4 and RLE8, bottom-up and top-down, the old 12-byte core
// header, and short palettes. Whatever the source, the result is 24-bit B,G,R.
// Like Windows, it is lenient where no data is lost: palette indexes beyond the
// stored palette read as black, pixels a run-length stream skips (deltas, early
// line or bitmap ends) take the colour of palette entry 0, runs past the right
// edge are clipped, and a zero pixel offset means "right after the palette".
//
// Malformed files raise EBmpError with a plain English message; the decoder
// never reads outside the buffer and never allocates more than the file can
// describe (uncompressed pixel data must be present before the image is
// allocated; run-length images are capped at kBmpMaxRleImageBytes of output).
#include "base/Exception.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tabulon {

TABULON_EXCEPTION_CLASS(EBmpError);

// A decoded picture: top-down rows, 3 bytes per pixel in the order B, G, R,
// each row BmpStride24(width) bytes long (padding bytes are zero).
struct BmpImage {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

// Largest decoded image (in bytes of 24-bit pixels) accepted for run-length
// encoded files, whose size the file itself cannot vouch for: 2^28 = 256 MiB.
inline constexpr size_t kBmpMaxRleImageBytes = size_t(1) << 28;

// Bytes of a 24-bit row: 3 * width rounded up to a multiple of 4 (0 without
// width). 64-bit, so that no width a header can give overflows it.
constexpr uint64_t BmpStride24(int64_t width) {
    return width > 0 ? (uint64_t(width) * 3 + 3) & ~uint64_t(3) : 0;
}

// `maxRleImageBytes` lowers the cap on run-length images (a fuzz target keeps
// every input quick that way); the program keeps the default.
BmpImage DecodeBmp(const uint8_t* data, size_t size,
                   size_t maxRleImageBytes = kBmpMaxRleImageBytes);

// What a file holds, after every check that can be made before decoding: a
// caller may allocate width x height pixels for DecodeBmpInto. The pixels of a
// run-length file may still turn out to be truncated while decoding; those of
// any other file cannot fail any more.
struct BmpSize {
    int32_t width = 0, height = 0;
    bool runLength = false;
};
BmpSize ReadBmpSize(const uint8_t* data, size_t size);

// DecodeBmp into the caller's memory: top-down rows `stride` bytes apart
// (stride >= BmpStride24(width)), padding bytes set to zero. Saves a copy of a
// big picture when its memory is already there (a DIB section). The same
// checks as DecodeBmp; on failure the rows may hold part of the picture.
void DecodeBmpInto(const uint8_t* data, size_t size, uint8_t* topDownRows, size_t stride);

// A complete 24-bit BI_RGB BMP file (bottom-up, rows padded to 4 bytes) from
// top-down B,G,R rows that lie `stride` bytes apart.
std::vector<uint8_t> EncodeBmp24(int32_t width, int32_t height, const uint8_t* topDownRows,
                                 size_t stride);

// The length of the file EncodeBmp24 writes; throws EBmpError for the sizes it refuses.
size_t BmpFileBytes24(int32_t width, int32_t height);

// Bytes [offset, offset + count) of the file EncodeBmp24 writes, into `out`. A
// big picture then goes to disk in slices through a small buffer.
void EncodeBmp24Part(int32_t width, int32_t height, const uint8_t* topDownRows, size_t stride,
                     size_t offset, uint8_t* out, size_t count);

} // namespace tabulon
