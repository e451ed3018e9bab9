#include "compose/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#endif
#include <new>
#include <vector>

namespace tabulon {

namespace {

constexpr int kWeightBits = 14; // filter weights: 1.0 = 1 << 14
constexpr int kMidBits = 6;     // the horizontal pass keeps 6 bits below the unit

double CatmullRom(double x) {
    x = std::fabs(x);
    if (x < 1) return (1.5 * x - 2.5) * x * x + 1;
    if (x < 2) return ((-0.5 * x + 2.5) * x - 4) * x + 2;
    return 0;
}

double Mitchell(double x) { // B = C = 1/3
    x = std::fabs(x);
    if (x < 1) return ((7 * x - 12) * x * x + 16.0 / 3) / 6;
    if (x < 2) return (((-7.0 / 3 * x + 12) * x - 20) * x + 32.0 / 3) / 6;
    return 0;
}

// For each output coordinate, `taps` input indices (clamped to the picture)
// and their weights, which add up to exactly 1 << kWeightBits.
struct Taps {
    int taps = 0;
    std::vector<int> first; // unclamped index of the first tap
    std::vector<int> index;
    std::vector<int16_t> weight;
};

Taps TapsFor(int inSize, int outSize, double scale, double shift) {
    const bool enlarge = scale >= 1;
    const double stretch = enlarge ? 1 : scale; // the kernel widens as the picture shrinks
    const double support = 2 / stretch;
    Taps t;
    // Enlarging, four input pixels always hold the kernel's reach.
    t.taps = enlarge ? 4 : int(std::ceil(2 * support)) + 1;
    t.first.resize(size_t(outSize));
    t.index.resize(size_t(outSize) * size_t(t.taps));
    t.weight.resize(t.index.size());
    std::vector<double> w(size_t(t.taps));
    for (int o = 0; o < outSize; ++o) {
        const double centre = (o + 0.5 + shift) / scale; // in input pixels
        const int first =
            enlarge ? int(std::floor(centre - 0.5)) - 1 : int(std::floor(centre - support));
        t.first[size_t(o)] = first;
        double sum = 0;
        for (int k = 0; k < t.taps; ++k) {
            const double d = (first + k + 0.5 - centre) * stretch;
            w[size_t(k)] = enlarge ? CatmullRom(d) : Mitchell(d);
            sum += w[size_t(k)];
        }
        int total = 0, biggest = 0;
        int* index = &t.index[size_t(o) * size_t(t.taps)];
        int16_t* weight = &t.weight[size_t(o) * size_t(t.taps)];
        for (int k = 0; k < t.taps; ++k) {
            index[k] = std::clamp(first + k, 0, inSize - 1);
            weight[k] = int16_t(std::lround(w[size_t(k)] / sum * (1 << kWeightBits)));
            total += weight[k];
            if (weight[k] > weight[biggest]) biggest = k;
        }
        weight[biggest] = int16_t(weight[biggest] + (1 << kWeightBits) - total);
    }
    return t;
}

// Enlarging reaches at most two pixels beyond the picture's edges: the row
// is copied between two such margins of repeated edge pixels, so the four
// taps are always four neighbours.
constexpr int kMargin = 2;

// One input row filtered horizontally: values times 1 << kMidBits. N is the
// number of taps when known at compile time (4 when enlarging; `padded` then
// holds the row with its margins), else 0.
template <int N>
[[gnu::always_inline]] inline void FilterRowWith(const uint8_t* in, const uint8_t* padded,
                                                 const Taps& h, int outWidth, int16_t* mid) {
    constexpr int kShift = kWeightBits - kMidBits;
    constexpr int kHalf = 1 << (kShift - 1);
    const int16_t* weight = h.weight.data();
    if constexpr (N == 4) {
        const int* first = h.first.data();
        for (int x = 0; x < outWidth; ++x, weight += 4) {
            const uint8_t* p = padded + size_t(first[x] + kMargin) * 3;
            const int w0 = weight[0], w1 = weight[1], w2 = weight[2], w3 = weight[3];
            const int b = kHalf + w0 * p[0] + w1 * p[3] + w2 * p[6] + w3 * p[9];
            const int g = kHalf + w0 * p[1] + w1 * p[4] + w2 * p[7] + w3 * p[10];
            const int r = kHalf + w0 * p[2] + w1 * p[5] + w2 * p[8] + w3 * p[11];
            mid[3 * x] = int16_t(b >> kShift);
            mid[3 * x + 1] = int16_t(g >> kShift);
            mid[3 * x + 2] = int16_t(r >> kShift);
        }
    } else {
        const int n = h.taps;
        const int* index = h.index.data();
        for (int x = 0; x < outWidth; ++x, index += n, weight += n) {
            int b = kHalf, g = kHalf, r = kHalf;
            for (int k = 0; k < n; ++k) {
                const uint8_t* p = in + size_t(index[k]) * 3;
                b += weight[k] * p[0];
                g += weight[k] * p[1];
                r += weight[k] * p[2];
            }
            mid[3 * x] = int16_t(b >> kShift);
            mid[3 * x + 1] = int16_t(g >> kShift);
            mid[3 * x + 2] = int16_t(r >> kShift);
        }
    }
}

// The weighted sum of the filtered rows, back to bytes: a plain loop along
// the row, which the compiler turns into vector code.
template <int N>
[[gnu::always_inline]] inline void SumRowsWith(const int16_t* const* rows, const int16_t* weight,
                                               int n, int count, int32_t* acc, uint8_t* out) {
    constexpr int kShift = kWeightBits + kMidBits;
    constexpr int32_t kHalf = 1 << (kShift - 1);
    if constexpr (N == 4) {
        const int16_t *r0 = rows[0], *r1 = rows[1], *r2 = rows[2], *r3 = rows[3];
        const int32_t w0 = weight[0], w1 = weight[1], w2 = weight[2], w3 = weight[3];
        for (int i = 0; i < count; ++i) {
            const int32_t sum = kHalf + w0 * r0[i] + w1 * r1[i] + w2 * r2[i] + w3 * r3[i];
            out[i] = uint8_t(std::clamp(sum >> kShift, 0, 255));
        }
    } else {
        for (int i = 0; i < count; ++i)
            acc[i] = kHalf;
        for (int k = 0; k < n; ++k) {
            const int16_t* row = rows[k];
            const int32_t w = weight[k];
            for (int i = 0; i < count; ++i)
                acc[i] += w * row[i];
        }
        for (int i = 0; i < count; ++i)
            out[i] = uint8_t(std::clamp(acc[i] >> kShift, 0, 255));
    }
}

struct Kernels {
    void (*filter4)(const uint8_t*, const uint8_t*, const Taps&, int, int16_t*);
    void (*filterN)(const uint8_t*, const uint8_t*, const Taps&, int, int16_t*);
    void (*sum4)(const int16_t* const*, const int16_t*, int, int, int32_t*, uint8_t*);
    void (*sumN)(const int16_t* const*, const int16_t*, int, int, int32_t*, uint8_t*);
};

// The kernels for every processor.
void PlainFilter4(const uint8_t* in, const uint8_t* padded, const Taps& h, int w, int16_t* mid) {
    FilterRowWith<4>(in, padded, h, w, mid);
}
void PlainFilterN(const uint8_t* in, const uint8_t* padded, const Taps& h, int w, int16_t* mid) {
    FilterRowWith<0>(in, padded, h, w, mid);
}
void PlainSum4(const int16_t* const* rows, const int16_t* weight, int n, int count, int32_t* acc,
               uint8_t* out) {
    SumRowsWith<4>(rows, weight, n, count, acc, out);
}
void PlainSumN(const int16_t* const* rows, const int16_t* weight, int n, int count, int32_t* acc,
               uint8_t* out) {
    SumRowsWith<0>(rows, weight, n, count, acc, out);
}

// A 4-byte load reaches one byte past the pixel it starts at: the padded row
// ends with that much to spare.
constexpr size_t kSlack = 1;

#if defined(__i386__) || defined(__x86_64__)
// SSE2, which nearly every processor that runs Windows 7 has, makes the sums
// several times faster; the processor decides at run time. Each kernel does
// the plain one's integer arithmetic in another order, so the results are
// the same to the bit.

// Two neighbouring pixels of `padded` with their channels side by side,
// widened to 16 bits: b0 b1 g0 g1 r0 r1 and two lanes of no account.
[[gnu::target("sse2")]] inline __m128i PixelPair(const uint8_t* p, const uint8_t* q) {
    int32_t a, b;
    std::memcpy(&a, p, 4);
    std::memcpy(&b, q, 4);
    return _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(a), _mm_cvtsi32_si128(b)),
                             _mm_setzero_si128());
}

// Two 16-bit weights in every 32-bit lane, for _mm_madd_epi16 against pairs.
[[gnu::target("sse2")]] inline __m128i WeightPair(int16_t first, int16_t second) {
    return _mm_set1_epi32(int32_t(uint16_t(first)) | int32_t(uint16_t(second)) << 16);
}
// The same for two weights side by side in memory.
[[gnu::target("sse2")]] inline __m128i WeightPair(const int16_t* weights) {
    int32_t both;
    std::memcpy(&both, weights, 4);
    return _mm_set1_epi32(both);
}

// Rounds the b, g, r sums in the low three lanes to the stored precision
// (which fits 16 bits, so the saturating pack keeps every value as the plain
// kernel's cast does) and writes them with one 8-byte store: its fourth value lands on the next
// pixel's first, which that pixel writes afterwards. The row's last pixel
// must therefore go through FinishLast.
[[gnu::target("sse2")]] inline void Finish(__m128i sums, int16_t* mid) {
    constexpr int kShift = kWeightBits - kMidBits;
    sums = _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(1 << (kShift - 1))), kShift);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(mid), _mm_packs_epi32(sums, sums));
}
[[gnu::target("sse2")]] inline void FinishLast(__m128i sums, int16_t* mid) {
    int16_t four[4];
    Finish(sums, four);
    std::memcpy(mid, four, 3 * sizeof(int16_t));
}

// Enlarging: per output pixel, its four neighbours as two pairs, each pair
// multiplied by its two weights and added in one step.
[[gnu::target("sse2")]] void Sse2Filter4(const uint8_t*, const uint8_t* padded, const Taps& h,
                                         int outWidth, int16_t* mid) {
    const int16_t* weight = h.weight.data();
    const int* first = h.first.data();
    for (int x = 0; x < outWidth; ++x, weight += 4) {
        const uint8_t* p = padded + size_t(first[x] + kMargin) * 3;
        // The four weights in one load: (w0, w1) and (w2, w3) are its two
        // low 32-bit lanes.
        const __m128i w = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(weight));
        const __m128i sums =
            _mm_add_epi32(_mm_madd_epi16(PixelPair(p, p + 3), _mm_shuffle_epi32(w, 0x00)),
                          _mm_madd_epi16(PixelPair(p + 6, p + 9), _mm_shuffle_epi32(w, 0x55)));
        if (x + 1 < outWidth)
            Finish(sums, mid + 3 * x);
        else
            FinishLast(sums, mid + 3 * x);
    }
}

// Reducing: the taps two at a time, an odd last one with a weight of zero
// beside it.
[[gnu::target("sse2")]] void Sse2FilterN(const uint8_t*, const uint8_t* padded, const Taps& h,
                                         int outWidth, int16_t* mid) {
    const int n = h.taps;
    const int16_t* weight = h.weight.data();
    const int* index = h.index.data();
    const uint8_t* row = padded + kMargin * 3;
    for (int x = 0; x < outWidth; ++x, index += n, weight += n) {
        __m128i sums = _mm_setzero_si128();
        int k = 0;
        for (; k + 2 <= n; k += 2)
            sums = _mm_add_epi32(sums, _mm_madd_epi16(PixelPair(row + size_t(index[k]) * 3,
                                                                row + size_t(index[k + 1]) * 3),
                                                      WeightPair(weight + k)));
        if (k < n) {
            const uint8_t* p = row + size_t(index[k]) * 3;
            sums = _mm_add_epi32(sums, _mm_madd_epi16(PixelPair(p, p), WeightPair(weight[k], 0)));
        }
        if (x + 1 < outWidth)
            Finish(sums, mid + 3 * x);
        else
            FinishLast(sums, mid + 3 * x);
    }
}

// The four-row sum with SSE2's multiply-add of 16-bit pairs: eight values a
// step, where the plain loop takes one.
[[gnu::target("sse2")]] void Sse2Sum4(const int16_t* const* rows, const int16_t* weight, int,
                                      int count, int32_t*, uint8_t* out) {
    constexpr int kShift = kWeightBits + kMidBits;
    const __m128i w01 = WeightPair(weight[0], weight[1]);
    const __m128i w23 = WeightPair(weight[2], weight[3]);
    const __m128i half = _mm_set1_epi32(1 << (kShift - 1));
    const int16_t *r0 = rows[0], *r1 = rows[1], *r2 = rows[2], *r3 = rows[3];
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + i));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r2 + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r3 + i));
        __m128i lo = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(a, b), w01),
                                   _mm_madd_epi16(_mm_unpacklo_epi16(c, d), w23));
        __m128i hi = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(a, b), w01),
                                   _mm_madd_epi16(_mm_unpackhi_epi16(c, d), w23));
        lo = _mm_srai_epi32(_mm_add_epi32(lo, half), kShift);
        hi = _mm_srai_epi32(_mm_add_epi32(hi, half), kShift);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(lo, hi), _mm_setzero_si128());
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), bytes);
    }
    for (; i < count; ++i) {
        const int32_t sum = (1 << (kShift - 1)) + weight[0] * r0[i] + weight[1] * r1[i] +
                            weight[2] * r2[i] + weight[3] * r3[i];
        out[i] = uint8_t(std::clamp(sum >> kShift, 0, 255));
    }
}

// Any number of rows, two at a time as above, an odd last one with a weight
// of zero beside it; the sums stay in registers instead of `acc`.
[[gnu::target("sse2")]] void Sse2SumN(const int16_t* const* rows, const int16_t* weight, int n,
                                      int count, int32_t*, uint8_t* out) {
    constexpr int kShift = kWeightBits + kMidBits;
    const __m128i half = _mm_set1_epi32(1 << (kShift - 1));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m128i lo = half, hi = half;
        for (int k = 0; k < n; k += 2) {
            const bool pair = k + 1 < n;
            const __m128i w = WeightPair(weight[k], pair ? weight[k + 1] : int16_t(0));
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
            const __m128i b =
                pair ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + i)) : a;
            lo = _mm_add_epi32(lo, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), w));
            hi = _mm_add_epi32(hi, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), w));
        }
        lo = _mm_srai_epi32(lo, kShift);
        hi = _mm_srai_epi32(hi, kShift);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(lo, hi), _mm_setzero_si128());
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), bytes);
    }
    for (; i < count; ++i) {
        int32_t sum = 1 << (kShift - 1);
        for (int k = 0; k < n; ++k)
            sum += weight[k] * rows[k][i];
        out[i] = uint8_t(std::clamp(sum >> kShift, 0, 255));
    }
}
#endif

void Pad(const uint8_t* line, int width, uint8_t* padded) {
    std::memcpy(padded + kMargin * 3, line, size_t(width) * 3);
    for (int m = 0; m < kMargin; ++m) {
        std::memcpy(padded + m * 3, line, 3);
        std::memcpy(padded + (size_t(kMargin + width + m)) * 3, line + size_t(width - 1) * 3, 3);
    }
}

constexpr Kernels kPlainKernels{PlainFilter4, PlainFilterN, PlainSum4, PlainSumN};

Kernels ChooseKernels() {
#if defined(__i386__) || defined(__x86_64__)
    if (__builtin_cpu_supports("sse2")) return {Sse2Filter4, Sse2FilterN, Sse2Sum4, Sse2SumN};
#endif
    return kPlainKernels;
}

bool Resample(const Kernels& kernels, const uint8_t* in, int inWidth, int inHeight, size_t inStride,
              uint8_t* out, int outWidth, int outHeight, size_t outStride, double scaleX,
              double scaleY, double shiftX, double shiftY) {
    if (inWidth <= 0 || inHeight <= 0 || outWidth <= 0 || outHeight <= 0 || !(scaleX > 0) ||
        !(scaleY > 0))
        return false;
    try {
        const Taps h = TapsFor(inWidth, outWidth, scaleX, shiftX);
        const Taps v = TapsFor(inHeight, outHeight, scaleY, shiftY);
        const size_t rowValues = size_t(outWidth) * 3;
        // A ring of horizontally filtered input rows: one output row needs
        // v.taps consecutive ones, and the next needs the same or later ones.
        const int ring = v.taps;
        std::vector<int16_t> mid(rowValues * size_t(ring));
        std::vector<int> held(size_t(ring), -1);
        std::vector<int32_t> acc(rowValues);
        std::vector<const int16_t*> rows(static_cast<size_t>(ring));
        std::vector<uint8_t> padded((size_t(inWidth) + 2 * kMargin) * 3 + kSlack);
        for (int y = 0; y < outHeight; ++y) {
            const int* index = &v.index[size_t(y) * size_t(ring)];
            for (int k = 0; k < ring; ++k) {
                const int source = index[k];
                const size_t slot = size_t(source % ring);
                int16_t* row = mid.data() + slot * rowValues;
                if (held[slot] != source) {
                    const uint8_t* line = in + size_t(source) * inStride;
                    Pad(line, inWidth, padded.data());
                    (h.taps == 4 ? kernels.filter4 : kernels.filterN)(line, padded.data(), h,
                                                                      outWidth, row);
                    held[slot] = source;
                }
                rows[size_t(k)] = row;
            }
            (ring == 4 ? kernels.sum4
                       : kernels.sumN)(rows.data(), &v.weight[size_t(y) * size_t(ring)], ring,
                                       int(rowValues), acc.data(), out + size_t(y) * outStride);
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

bool ResampleBgr(const uint8_t* in, int inWidth, int inHeight, size_t inStride, uint8_t* out,
                 int outWidth, int outHeight, size_t outStride, double scale, double shiftX,
                 double shiftY) {
    static const Kernels kernels = ChooseKernels();
    return Resample(kernels, in, inWidth, inHeight, inStride, out, outWidth, outHeight, outStride,
                    scale, scale, shiftX, shiftY);
}

bool ResampleBgrStretched(const uint8_t* in, int inWidth, int inHeight, size_t inStride,
                          uint8_t* out, int outWidth, int outHeight, size_t outStride,
                          double scaleX, double scaleY, double shiftX, double shiftY) {
    static const Kernels kernels = ChooseKernels();
    return Resample(kernels, in, inWidth, inHeight, inStride, out, outWidth, outHeight, outStride,
                    scaleX, scaleY, shiftX, shiftY);
}

bool ResampleBgrPlain(const uint8_t* in, int inWidth, int inHeight, size_t inStride, uint8_t* out,
                      int outWidth, int outHeight, size_t outStride, double scale, double shiftX,
                      double shiftY) {
    return Resample(kPlainKernels, in, inWidth, inHeight, inStride, out, outWidth, outHeight,
                    outStride, scale, scale, shiftX, shiftY);
}

} // namespace tabulon
