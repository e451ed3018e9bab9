#include "png/PngRows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

// S > 0: stride known at compile time; S == 0: taken from `stride`.
template <size_t S>
void Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t n, size_t stride) {
    const size_t s = S ? S : stride;
    const size_t head = std::min(s, n);
    switch (filter) {
    case 1:
        for (size_t i = s; i < n; ++i)
            row[i] = uint8_t(row[i] + row[i - s]);
        break;
    case 2:
        for (size_t i = 0; i < n; ++i)
            row[i] = uint8_t(row[i] + prior[i]);
        break;
    case 3:
        for (size_t i = 0; i < head; ++i)
            row[i] = uint8_t(row[i] + (prior[i] >> 1));
        for (size_t i = s; i < n; ++i)
            row[i] = uint8_t(row[i] + ((prior[i] + row[i - s]) >> 1));
        break;
    case 4:
        // Without a left neighbour the predictor is always the byte above.
        for (size_t i = 0; i < head; ++i)
            row[i] = uint8_t(row[i] + prior[i]);
        for (size_t i = s; i < n; ++i)
            row[i] = uint8_t(row[i] + Paeth(row[i - s], prior[i], prior[i - s]));
        break;
    default:
        break;
    }
}

// ---- whole rows ----

void CopyRow(const TRowJob& job) {
    std::memcpy(job.bits, job.source, job.rowBytes);
}

void FirstOfTwo(const TRowJob& job) {
    for (size_t x = 0; x < job.pixels; ++x)
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

template <size_t kSample, size_t kPixel> void ColourPass(const TRowJob& job) {
    const uint8_t* gamma = job.gamma;
    for (size_t k = 0; k < job.pixels; ++k) {
        const uint8_t* src = job.source + k * kPixel;
        const size_t x = job.start + k * job.step;
        uint8_t* dst = job.bits + 3 * x;
        dst[0] = gamma[src[2 * kSample]];
        dst[1] = gamma[src[kSample]];
        dst[2] = gamma[src[0]];
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

void UnfilterRow(uint8_t* row, const uint8_t* prior, size_t rowBytes, size_t stride) {
    const uint8_t filter = row[0];
    uint8_t* data = row + 1;
    const uint8_t* above = prior + 1;
    switch (stride) {
    case 1:
        Unfilter<1>(filter, data, above, rowBytes, 1);
        break;
    case 2:
        Unfilter<2>(filter, data, above, rowBytes, 2);
        break;
    case 3:
        Unfilter<3>(filter, data, above, rowBytes, 3);
        break;
    case 4:
        Unfilter<4>(filter, data, above, rowBytes, 4);
        break;
    case 6:
        Unfilter<6>(filter, data, above, rowBytes, 6);
        break;
    case 8:
        Unfilter<8>(filter, data, above, rowBytes, 8);
        break;
    default:
        Unfilter<0>(filter, data, above, rowBytes, stride ? stride : 1);
        break;
    }
}

TRowConverter ChooseRowConverter(uint8_t colourType, uint8_t bitDepth) {
    switch (colourType) {
    case 0:
    case 3:
        switch (bitDepth) {
        case 1:
        case 4:
        case 8:
            return &CopyRow;
        case 2:
            return colourType == 0 ? &TwoBitRow<kGreyNibbles> : &TwoBitRow<kIndexNibbles>;
        case 16:
            return &FirstOfTwo;
        }
        break;
    case 2:
        if (bitDepth == 8) return &ColourRow<1, 3>;
        if (bitDepth == 16) return &ColourRow<2, 6>;
        break;
    case 4:
        if (bitDepth == 8) return &GreyAlphaRow<1>;
        if (bitDepth == 16) return &GreyAlphaRow<2>;
        break;
    case 6:
        if (bitDepth == 8) return &ColourRow<1, 4>;
        if (bitDepth == 16) return &ColourRow<2, 8>;
        break;
    }
    return nullptr;
}

TRowConverter ChoosePassConverter(uint8_t colourType, uint8_t bitDepth) {
    switch (colourType) {
    case 0:
    case 3:
        switch (bitDepth) {
        case 1:
            return &PackedPass<1, 1, 1>;
        case 2:
            return colourType == 0 ? &PackedPass<2, 4, 5> : &PackedPass<2, 4, 1>;
        case 4:
            return &PackedPass<4, 4, 1>;
        case 8:
            return &GreyPass<1>;
        case 16:
            return &GreyPass<2>;
        }
        break;
    case 2:
        if (bitDepth == 8) return &ColourPass<1, 3>;
        if (bitDepth == 16) return &ColourPass<2, 6>;
        break;
    case 4:
        if (bitDepth == 8) return &GreyAlphaPass<1>;
        if (bitDepth == 16) return &GreyAlphaPass<2>;
        break;
    case 6:
        if (bitDepth == 8) return &ColourPass<1, 4>;
        if (bitDepth == 16) return &ColourPass<2, 8>;
        break;
    }
    return nullptr;
}

} // namespace tabulon
