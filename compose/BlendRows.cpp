#include "compose/BlendRows.h"

#include <algorithm>
#include <cmath>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define TABULON_BLEND_SSE2 1
#endif

namespace tabulon {
namespace {

// Integer forms of the float mix, one per weight: (p * a + q * b + c) >> r.
// Found by an exhaustive search for the smallest shift r at which integers
// near f * 2^(r-1) and s * 2^(r-1), plus an offset c, reproduce the float
// formula on every (a, b) pair; the blend tests check all pairs again. p and q
// stay below 2^15 so that SSE2's signed 16-bit multiply-add can use them.
struct IntegerMix {
    uint32_t p, q, c, r;
};
constexpr IntegerMix kIntegerMix[kMaxBlendWeight + 1] = {
    {2, 0, 0, 1},         // 0: the first picture
    {29488, 3277, 0, 15}, // 1: s + f just below 2, equal bytes drop by one
    {819, 205, 52, 10},   // 2
    {1433, 615, 0, 11},   // 3
    {1228, 819, 256, 11}, // 4
    {1, 1, 0, 1},         // 5: the mean rounded down
    {409, 615, 0, 10},    // 6
    {615, 1433, 0, 11},   // 7
    {51, 205, 0, 8},      // 8
    {205, 1843, 0, 11},   // 9
    {0, 2, 0, 1},         // 10: the second picture
};

void MixScalar(uint8_t* first, const uint8_t* second, size_t count, const IntegerMix& m) {
    for (size_t i = 0; i < count; ++i)
        first[i] = uint8_t((m.p * first[i] + m.q * second[i] + m.c) >> m.r);
}

#ifdef TABULON_BLEND_SSE2
// The 32-bit build targets plain i686, so SSE2 is enabled for this function
// alone and chosen at run time; the stack is realigned because 32-bit Windows
// only promises 4-byte alignment to callees.
__attribute__((target("sse2"), force_align_arg_pointer)) void
MixSse2(uint8_t* first, const uint8_t* second, size_t count, const IntegerMix& m) {
    // Each 32-bit lane holds one (a, b) pair as two 16-bit words; madd gives p*a + q*b.
    const __m128i coef = _mm_set1_epi32(int(m.q << 16 | m.p));
    const __m128i offset = _mm_set1_epi32(int(m.c));
    const __m128i shift = _mm_cvtsi32_si128(int(m.r));
    const __m128i zero = _mm_setzero_si128();
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + i));
        const __m128i abLo = _mm_unpacklo_epi8(a, b);
        const __m128i abHi = _mm_unpackhi_epi8(a, b);
        __m128i r0 = _mm_madd_epi16(_mm_unpacklo_epi8(abLo, zero), coef);
        __m128i r1 = _mm_madd_epi16(_mm_unpackhi_epi8(abLo, zero), coef);
        __m128i r2 = _mm_madd_epi16(_mm_unpacklo_epi8(abHi, zero), coef);
        __m128i r3 = _mm_madd_epi16(_mm_unpackhi_epi8(abHi, zero), coef);
        r0 = _mm_srl_epi32(_mm_add_epi32(r0, offset), shift);
        r1 = _mm_srl_epi32(_mm_add_epi32(r1, offset), shift);
        r2 = _mm_srl_epi32(_mm_add_epi32(r2, offset), shift);
        r3 = _mm_srl_epi32(_mm_add_epi32(r3, offset), shift);
        // Every result is 0..255, so the saturating packs lose nothing.
        const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(r0, r1), _mm_packs_epi32(r2, r3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first + i), packed);
    }
    MixScalar(first + i, second + i, count - i, m);
}

bool HaveSse2() {
#ifdef __x86_64__
    return true;
#else
    static const bool have = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse2") != 0;
    }();
    return have;
#endif
}
#endif

} // namespace

int ClampBlendWeight(int weight) {
    return std::clamp(weight, kMinBlendWeight, kMaxBlendWeight);
}

BlendFactors BlendFactorsFor(int weight) {
    BlendFactors factors;
    factors.s = float(ClampBlendWeight(weight) / 5.0);
    factors.f = float(2.0 - double(factors.s));
    return factors;
}

uint8_t BlendByteExact(uint8_t a, uint8_t b, BlendFactors factors) {
    // A float times a byte needs at most 32 significant bits, and the sum of
    // two such products stays within double's 53, so nothing is rounded here.
    const double mixed = (double(factors.f) * a + double(factors.s) * b) / 2.0;
    return uint8_t(int64_t(std::trunc(mixed)) & 0xFF);
}

RowBlender::RowBlender(int weight) : weight_(ClampBlendWeight(weight)) {
    const IntegerMix& m = kIntegerMix[weight_];
    p_ = m.p;
    q_ = m.q;
    c_ = m.c;
    r_ = m.r;
}

void RowBlender::Mix(uint8_t* first, const uint8_t* second, size_t count) const {
    const IntegerMix m{p_, q_, c_, r_};
#ifdef TABULON_BLEND_SSE2
    if (HaveSse2()) {
        MixSse2(first, second, count, m);
        return;
    }
#endif
    MixScalar(first, second, count, m);
}

void BlendPixelRows(uint8_t* first, const uint8_t* second, int width, int height, size_t stride,
                    int weight) {
    if (width <= 0 || height <= 0) return;
    const RowBlender blender(weight);
    const size_t rowBytes = PixelRowBytes(width);
    for (int row = 0; row < height; ++row)
        blender.Mix(first + size_t(row) * stride, second + size_t(row) * stride, rowBytes);
}

} // namespace tabulon
