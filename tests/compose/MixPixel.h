#pragma once
// The expected colour of one composite pixel: each channel of the note pixel
// `a` mixed with the background pixel `b` at `weight`, by the exact
// per-byte formula the blend must match.
#include <cstdint>

#include "compose/BlendRows.h"

namespace tabulon::testing {

inline uint32_t MixPixel(uint32_t a, uint32_t b, int weight) {
    const BlendFactors f = BlendFactorsFor(weight);
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= uint32_t(BlendByteExact(uint8_t(a >> shift), uint8_t(b >> shift), f)) << shift;
    return out;
}

} // namespace tabulon::testing
