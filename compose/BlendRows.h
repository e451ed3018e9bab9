#pragma once
// The pixel mix of two pictures, byte by byte: the note picture (first) laid
// over the background (second) with the background's share given in tenths.
// Portable: no Windows headers, so it is tested and benchmarked natively.
#include <cstddef>
#include <cstdint>

namespace tabulon {

constexpr int kMinBlendWeight = 0;
constexpr int kMaxBlendWeight = 10;

// Twice the shares of the two pictures, rounded to 32-bit floats: s for the
// second, f = 2 - s for the first. The float rounding is part of the result
// (at weight 1, s + f lies just below 2 and 255 over 255 gives 254).
struct BlendFactors {
    float s = 0;
    float f = 2;
};

// Weights outside 0..10 are clamped.
int ClampBlendWeight(int weight);
BlendFactors BlendFactorsFor(int weight);

// (f * a + s * b) / 2 computed exactly in double, truncated toward zero, low
// 8 bits kept. The slow, obviously right form; the row mix must equal it.
uint8_t BlendByteExact(uint8_t a, uint8_t b, BlendFactors factors);

// Mixes rows at one weight. The float formula is replaced by integers proven
// equal to it on all 65536 byte pairs: (p * a + q * b + c) >> r.
class RowBlender {
  public:
    explicit RowBlender(int weight);

    int Weight() const { return weight_; }
    // first[i] = mix(first[i], second[i]) for i < count; second is only read.
    // The two ranges may be the same but must not partly overlap.
    void Mix(uint8_t* first, const uint8_t* second, size_t count) const;

  private:
    int weight_;
    uint32_t p_, q_, c_, r_;
};

// Row 3 * width bytes of a 24-bit picture; a DIB row is that rounded up to a
// multiple of 4 (BmpStride24).
constexpr size_t PixelRowBytes(int width) {
    return width > 0 ? size_t(width) * 3 : 0;
}

// Mixes two 24-bit pictures of width x height laid out with `stride` bytes per
// row, the result going into `first`. Only the 3 * width pixel bytes of a row
// are touched, never its padding.
void BlendPixelRows(uint8_t* first, const uint8_t* second, int width, int height, size_t stride,
                    int weight);

} // namespace tabulon
