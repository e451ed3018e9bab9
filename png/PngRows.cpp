#include "png/PngRows.h"

#include "png/ColourTypes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tabulon {

namespace {

inline uint8_t Paeth(int left, int up, int upperLeft) {
    const int pa = std::abs(up - upperLeft);
    const int pb = std::abs(left - upperLeft);
    const int pc = std::abs(left + up - 2 * upperLeft);
    // Written as selects so that the compiler emits conditional moves.
    const int nearer = pb <= pc ? up : upperLeft;
    return static_cast<uint8_t>(pa <= std::min(pb, pc) ? left : nearer);
}

// Undoes one filter from `src` into `dst` (which may be the same bytes).
// S > 0: stride known at compile time; S == 0: taken from `stride`. kStep 2
// restores only the first byte of each 16-bit sample: unfiltering works byte
// by byte with offsets that are multiples of the stride, so the first bytes of
// the samples depend on nothing else, and they are all the conversions read.
template <size_t S, size_t kStep>
void Unfilter(uint8_t filter, const uint8_t* src, uint8_t* dst, const uint8_t* prior, size_t n,
              size_t stride) {
    const size_t s = S ? S : stride;
    const size_t head = std::min(s, n);
    switch (filter) {
    case 1:
        for (size_t i = 0; i < head; i += kStep)
            dst[i] = src[i];
        for (size_t i = s; i < n; i += kStep)
            dst[i] = uint8_t(src[i] + dst[i - s]);
        break;
    case 2:
        for (size_t i = 0; i < n; i += kStep)
            dst[i] = uint8_t(src[i] + prior[i]);
        break;
    case 3:
        for (size_t i = 0; i < head; i += kStep)
            dst[i] = uint8_t(src[i] + (prior[i] >> 1));
        for (size_t i = s; i < n; i += kStep)
            dst[i] = uint8_t(src[i] + ((prior[i] + dst[i - s]) >> 1));
        break;
    case 4:
        // Without a left neighbour the predictor is always the byte above.
        for (size_t i = 0; i < head; i += kStep)
            dst[i] = uint8_t(src[i] + prior[i]);
        for (size_t i = s; i < n; i += kStep)
            dst[i] = uint8_t(src[i] + Paeth(dst[i - s], prior[i], prior[i - s]));
        break;
    default:
        if (src != dst) std::memcpy(dst, src, n);
        break;
    }
}

// Finishes a row from byte `from` on (at least one stride in); the bytes
// before it are done.
inline void UnfilterTail(uint8_t filter, const uint8_t* src, uint8_t* dst, const uint8_t* prior,
                         size_t n, size_t s, size_t from) {
    for (size_t i = from; i < n; ++i) {
        const uint8_t left = dst[i - s];
        uint8_t pred = 0;
        if (filter == 1) pred = left;
        if (filter == 3) pred = uint8_t((left + prior[i]) >> 1);
        if (filter == 4) pred = Paeth(left, prior[i], prior[i - s]);
        dst[i] = uint8_t(src[i] + pred);
    }
}

#ifdef __SSE2__
// Pixels of 3 or 4 bytes, one pixel per step in the low lanes of a register.
inline __m128i Load4(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(static_cast<int>(v));
}
inline void Store4(uint8_t* p, __m128i v) {
    const uint32_t w = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
    std::memcpy(p, &w, 4);
}

// Runs `step(raw, i)` (which returns the restored pixel) over the row while a
// whole 4-byte access fits, and returns the first byte not done. Works in
// place: each 4-byte store of a 3-byte pixel covers the first byte of the next
// one, so that pixel is loaded before the store, and the byte is put back for
// the scalar loop that finishes the row.
template <size_t S, class TStep>
size_t ForEachPixel(const uint8_t* src, uint8_t* dst, size_t n, TStep step) {
    size_t i = 0;
    if (n < 4) return 0;
    __m128i raw = Load4(src);
    for (; i + 4 <= n; i += S) {
        const bool more = i + S + 4 <= n;
        const __m128i nextRaw = more ? Load4(src + i + S) : _mm_setzero_si128();
        const uint8_t carried = src[i + 3];
        Store4(dst + i, step(raw, i));
        if (S == 3 && !more) dst[i + 3] = carried;
        raw = nextRaw;
    }
    return i;
}

template <size_t S>
size_t UnfilterPixelsSse2(uint8_t filter, const uint8_t* src, uint8_t* dst, const uint8_t* prior,
                          size_t n) {
    const __m128i zero = _mm_setzero_si128();
    switch (filter) {
    case 1: {
        __m128i left = zero;
        return ForEachPixel<S>(src, dst, n, [&](__m128i raw, size_t) {
            left = _mm_add_epi8(raw, left);
            return left;
        });
    }
    case 4: {
        __m128i a = zero, c = zero; // left and upper left, 16-bit lanes
        return ForEachPixel<S>(src, dst, n, [&](__m128i raw, size_t i) {
            const __m128i b = _mm_unpacklo_epi8(Load4(prior + i), zero);
            const __m128i pa0 = _mm_sub_epi16(b, c);
            const __m128i pb0 = _mm_sub_epi16(a, c);
            const __m128i pc0 = _mm_add_epi16(pa0, pb0);
            const __m128i pa = _mm_max_epi16(pa0, _mm_sub_epi16(zero, pa0));
            const __m128i pb = _mm_max_epi16(pb0, _mm_sub_epi16(zero, pb0));
            const __m128i pc = _mm_max_epi16(pc0, _mm_sub_epi16(zero, pc0));
            const __m128i cNearer = _mm_cmpgt_epi16(pb, pc);
            const __m128i nearer =
                _mm_or_si128(_mm_and_si128(cNearer, c), _mm_andnot_si128(cNearer, b));
            const __m128i notLeft = _mm_cmpgt_epi16(pa, _mm_min_epi16(pb, pc));
            const __m128i pred =
                _mm_or_si128(_mm_and_si128(notLeft, nearer), _mm_andnot_si128(notLeft, a));
            const __m128i out = _mm_add_epi8(raw, _mm_packus_epi16(pred, pred));
            a = _mm_unpacklo_epi8(out, zero);
            c = b;
            return out;
        });
    }
    default:
        return 0;
    }
}
#endif

template <size_t S>
void UnfilterPixels(uint8_t filter, const uint8_t* src, uint8_t* dst, const uint8_t* prior,
                    size_t n) {
#ifdef __SSE2__
    // Average stays scalar: its three or four byte chains already run side by
    // side there, and one pixel per step is no quicker.
    if (filter == 1 || filter == 4) {
        const size_t done = UnfilterPixelsSse2<S>(filter, src, dst, prior, n);
        if (done > 0) {
            // The rest of the row continues the same chains: rerun it with the
            // finished pixels as left neighbours.
            UnfilterTail(filter, src, dst, prior, n, S, done);
            return;
        }
    }
#endif
    Unfilter<S, 1>(filter, src, dst, prior, n, S);
}

// ---- whole rows ----

void CopyRow(const TRowJob& job) {
    std::memcpy(job.bits, job.source, job.rowBytes);
}

void FirstOfTwo(const TRowJob& job) {
    size_t x = 0;
#ifdef __SSE2__
    // 16 pixels per step: keep the low byte of each little-endian word, which
    // is the sample's first byte, and pack the words into bytes.
    const __m128i low = _mm_set1_epi16(0x00FF);
    for (; x + 16 <= job.pixels; x += 16) {
        const uint8_t* src = job.source + 2 * x;
        const __m128i a =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src)), low);
        const __m128i b =
            _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16)), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(job.bits + x), _mm_packus_epi16(a, b));
    }
#endif
    for (; x < job.pixels; ++x)
        job.bits[x] = job.source[2 * x];
}

// Each 2-bit sample becomes a nibble; `level` maps the sample to the nibble.
struct TNibbleTable {
    uint8_t pairs[256][2];
    explicit TNibbleTable(unsigned factor) {
        for (unsigned s = 0; s < 256; ++s) {
            const unsigned p0 = s >> 6, p1 = (s >> 4) & 3, p2 = (s >> 2) & 3, p3 = s & 3;
            pairs[s][0] = uint8_t((p0 * factor) << 4 | (p1 * factor));
            pairs[s][1] = uint8_t((p2 * factor) << 4 | (p3 * factor));
        }
    }
};

// Palette indices keep their value; grey levels p become 5p so that the
// 16-entry grey ramp (i * 17) shows them as 85p, the true 2-bit levels.
const TNibbleTable kIndexNibbles(1);
const TNibbleTable kGreyNibbles(5);

template <const TNibbleTable& kTable> void TwoBitRow(const TRowJob& job) {
    uint8_t* out = job.bits;
    for (size_t i = 0; i < job.rowBytes; ++i, out += 2) {
        const uint8_t* pair = kTable.pairs[job.source[i]];
        out[0] = pair[0];
        out[1] = pair[1];
    }
}

// RGB with `kSample` bytes per sample and `kPixel` bytes per pixel; alpha
// (when kPixel holds one) follows the three colour samples.
template <size_t kSample, size_t kPixel> void ColourRow(const TRowJob& job) {
    const uint8_t* src = job.source;
    uint8_t* dst = job.bits;
    const uint8_t* gamma = job.gamma;
    for (size_t x = 0; x < job.pixels; ++x, src += kPixel, dst += 3) {
        dst[0] = gamma[src[2 * kSample]];
        dst[1] = gamma[src[kSample]];
        dst[2] = gamma[src[0]];
    }
    if constexpr (kPixel == 4 * kSample) {
        src = job.source + 3 * kSample;
        for (size_t x = 0; x < job.pixels; ++x, src += kPixel)
            job.alpha[x] = *src;
    }
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// 8-bit RGB or RGBA through the identity ramp (no gamma correction): each pixel
// is one 4-byte load whose colour bytes are reversed and stored as 4 bytes; the
// fourth byte belongs to the next pixel, which rewrites it, so the last pixel
// is written byte by byte to stay inside the row.
template <size_t kPixel> void SwappedColourRow(const TRowJob& job) {
    const size_t pixels = job.pixels;
    if (pixels == 0) return;
    const uint8_t* src = job.source;
    uint8_t* dst = job.bits;
    uint8_t* alpha = job.alpha;
    for (size_t x = 0; x + 1 < pixels; ++x, src += kPixel, dst += 3) {
        uint32_t v;
        std::memcpy(&v, src, 4);
        const uint32_t bgr = __builtin_bswap32(v) >> 8;
        std::memcpy(dst, &bgr, 4);
        if constexpr (kPixel == 4) alpha[x] = uint8_t(v >> 24);
    }
    dst[0] = src[2];
    dst[1] = src[1];
    dst[2] = src[0];
    if constexpr (kPixel == 4) alpha[pixels - 1] = src[3];
}
#endif

template <size_t kSample> void GreyAlphaRow(const TRowJob& job) {
    const uint8_t* src = job.source;
    for (size_t x = 0; x < job.pixels; ++x, src += 2 * kSample) {
        job.bits[x] = src[0];
        job.alpha[x] = src[kSample];
    }
}

// ---- Adam7 pass rows ----

// Packed samples of kDepth bits, placed as kOut-bit pixels (value × kFactor).
template <unsigned kDepth, unsigned kOut, unsigned kFactor> void PackedPass(const TRowJob& job) {
    constexpr unsigned kInPerByte = 8 / kDepth, kOutPerByte = 8 / kOut;
    constexpr unsigned kMask = (1u << kDepth) - 1;
    for (size_t k = 0; k < job.pixels; ++k) {
        const unsigned shift = (kInPerByte - 1 - k % kInPerByte) * kDepth;
        const unsigned value = ((job.source[k / kInPerByte] >> shift) & kMask) * kFactor;
        const size_t x = job.start + k * job.step;
        const unsigned outShift = (kOutPerByte - 1 - x % kOutPerByte) * kOut;
        job.bits[x / kOutPerByte] |= uint8_t(value << outShift);
    }
}

template <size_t kSample> void GreyPass(const TRowJob& job) {
    for (size_t k = 0; k < job.pixels; ++k)
        job.bits[job.start + k * job.step] = job.source[k * kSample];
}

template <size_t kSample, size_t kPixel, bool kIdentity = false>
void ColourPass(const TRowJob& job) {
    const uint8_t* gamma = job.gamma;
    for (size_t k = 0; k < job.pixels; ++k) {
        const uint8_t* src = job.source + k * kPixel;
        const size_t x = job.start + k * job.step;
        uint8_t* dst = job.bits + 3 * x;
        if constexpr (kIdentity) {
            dst[0] = src[2 * kSample];
            dst[1] = src[kSample];
            dst[2] = src[0];
        } else {
            dst[0] = gamma[src[2 * kSample]];
            dst[1] = gamma[src[kSample]];
            dst[2] = gamma[src[0]];
        }
        if constexpr (kPixel == 4 * kSample) job.alpha[x] = src[3 * kSample];
    }
}

template <size_t kSample> void GreyAlphaPass(const TRowJob& job) {
    for (size_t k = 0; k < job.pixels; ++k) {
        const uint8_t* src = job.source + k * 2 * kSample;
        const size_t x = job.start + k * job.step;
        job.bits[x] = src[0];
        job.alpha[x] = src[kSample];
    }
}

} // namespace

void UnfilterRow(const uint8_t* raw, uint8_t* row, const uint8_t* prior, size_t rowBytes,
                 size_t stride, bool firstBytesOnly) {
    const uint8_t filter = raw[0];
    row[0] = filter;
    const uint8_t* src = raw + 1;
    uint8_t* dst = row + 1;
    const uint8_t* above = prior + 1;
    if (firstBytesOnly) {
        switch (stride) {
        case 2:
            return Unfilter<2, 2>(filter, src, dst, above, rowBytes, 2);
        case 4:
            return Unfilter<4, 2>(filter, src, dst, above, rowBytes, 4);
        case 6:
            return Unfilter<6, 2>(filter, src, dst, above, rowBytes, 6);
        case 8:
            return Unfilter<8, 2>(filter, src, dst, above, rowBytes, 8);
        }
    }
    switch (stride) {
    case 1:
        return Unfilter<1, 1>(filter, src, dst, above, rowBytes, 1);
    case 2:
        return Unfilter<2, 1>(filter, src, dst, above, rowBytes, 2);
    case 3:
        return UnfilterPixels<3>(filter, src, dst, above, rowBytes);
    case 4:
        return UnfilterPixels<4>(filter, src, dst, above, rowBytes);
    case 6:
        return Unfilter<6, 1>(filter, src, dst, above, rowBytes, 6);
    case 8:
        return Unfilter<8, 1>(filter, src, dst, above, rowBytes, 8);
    default:
        return Unfilter<0, 1>(filter, src, dst, above, rowBytes, stride ? stride : 1);
    }
}

namespace {

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr TRowConverter kSwappedRgbRow = &SwappedColourRow<3>;
constexpr TRowConverter kSwappedRgbAlphaRow = &SwappedColourRow<4>;
#else
constexpr TRowConverter kSwappedRgbRow = nullptr;
constexpr TRowConverter kSwappedRgbAlphaRow = nullptr;
#endif

// The converters of each (colour type, bit depth) this decoder lays out. The
// identity ones serve 8-bit colour through the identity ramp (no lookups);
// where they are null the plain ones serve it too.
struct TConverters {
    uint8_t colourType;
    uint8_t bitDepth;
    TRowConverter row;
    TRowConverter pass;
    TRowConverter identityRow = nullptr;
    TRowConverter identityPass = nullptr;
};

constexpr TConverters kConverters[] = {
    {kColourGrey, 1, &CopyRow, &PackedPass<1, 1, 1>},
    {kColourGrey, 2, &TwoBitRow<kGreyNibbles>, &PackedPass<2, 4, 5>},
    {kColourGrey, 4, &CopyRow, &PackedPass<4, 4, 1>},
    {kColourGrey, 8, &CopyRow, &GreyPass<1>},
    {kColourGrey, 16, &FirstOfTwo, &GreyPass<2>},
    {kColourIndexed, 1, &CopyRow, &PackedPass<1, 1, 1>},
    {kColourIndexed, 2, &TwoBitRow<kIndexNibbles>, &PackedPass<2, 4, 1>},
    {kColourIndexed, 4, &CopyRow, &PackedPass<4, 4, 1>},
    {kColourIndexed, 8, &CopyRow, &GreyPass<1>},
    {kColourIndexed, 16, &FirstOfTwo, &GreyPass<2>},
    {kColourRgb, 8, &ColourRow<1, 3>, &ColourPass<1, 3>, kSwappedRgbRow, &ColourPass<1, 3, true>},
    {kColourRgb, 16, &ColourRow<2, 6>, &ColourPass<2, 6>},
    {kColourGreyAlpha, 8, &GreyAlphaRow<1>, &GreyAlphaPass<1>},
    {kColourGreyAlpha, 16, &GreyAlphaRow<2>, &GreyAlphaPass<2>},
    {kColourRgbAlpha, 8, &ColourRow<1, 4>, &ColourPass<1, 4>, kSwappedRgbAlphaRow,
     &ColourPass<1, 4, true>},
    {kColourRgbAlpha, 16, &ColourRow<2, 8>, &ColourPass<2, 8>},
};

const TConverters* FindConverters(uint8_t colourType, uint8_t bitDepth) {
    for (const TConverters& entry : kConverters)
        if (entry.colourType == colourType && entry.bitDepth == bitDepth) return &entry;
    return nullptr;
}

} // namespace

TRowConverter ChooseRowConverter(uint8_t colourType, uint8_t bitDepth, bool identityGamma) {
    const TConverters* entry = FindConverters(colourType, bitDepth);
    if (!entry) return nullptr;
    return identityGamma && entry->identityRow ? entry->identityRow : entry->row;
}

TRowConverter ChoosePassConverter(uint8_t colourType, uint8_t bitDepth, bool identityGamma) {
    const TConverters* entry = FindConverters(colourType, bitDepth);
    if (!entry) return nullptr;
    return identityGamma && entry->identityPass ? entry->identityPass : entry->pass;
}

} // namespace tabulon
