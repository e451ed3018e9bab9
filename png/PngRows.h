#pragma once
// Row-level work of the image data decoder: unfiltering and converting one
// unfiltered row into bitmap and alpha bytes. Each converter handles one
// colour type and bit depth, so the choice is made once per image or pass.
#include <cstddef>
#include <cstdint>

namespace tabulon {

// Undoes the filter named by raw[0] on raw[1..rowBytes] against the previous
// row prior[1..rowBytes], into row[1..rowBytes]; row[0] gets the filter byte.
// `raw` may be `row` itself. `stride` is the bytes per complete pixel. Unknown
// filter types leave the bytes as they are. With `firstBytesOnly` (16-bit
// samples) only the first byte of each sample is restored and the second ones
// are left undefined: nothing reads them.
void UnfilterRow(const uint8_t* raw, uint8_t* row, const uint8_t* prior, size_t rowBytes,
                 size_t stride, bool firstBytesOnly);

// One unfiltered row (or Adam7 pass row) and where its pixels go: source pixel
// k lands in column start + k * step of the bitmap row `bits` and alpha row `alpha`.
struct TRowJob {
    const uint8_t* source;
    size_t rowBytes;
    size_t pixels;
    size_t start;
    size_t step;
    uint8_t* bits;
    uint8_t* alpha;
    const uint8_t* gamma; // 256 entries, applied to RGB samples
};

using TRowConverter = void (*)(const TRowJob& job);

// The converter for whole rows (start 0, step 1), or nullptr for a header
// without a layout.
// `identityGamma`: the ramp maps every value to itself, so RGB needs no lookups.
TRowConverter ChooseRowConverter(uint8_t colourType, uint8_t bitDepth, bool identityGamma = false);
// The converter for Adam7 pass rows; it ORs packed pixels into a zeroed row.
TRowConverter ChoosePassConverter(uint8_t colourType, uint8_t bitDepth, bool identityGamma = false);

} // namespace tabulon
