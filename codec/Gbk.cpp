#include "codec/Gbk.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tabulon {
namespace {

struct Gb18030Run {
    uint16_t linear; // first four-byte linear index of the run
    uint16_t code;   // its code point; 0 when the run is unassigned
};

#include "codec/GbkTable.inc"

constexpr char16_t kEuro = 0x20AC;
constexpr uint8_t kEuroByte = 0x80;
// Windows reads the single byte 0xFF as this private-use character.
constexpr char16_t kFfChar = 0xF8F5;
constexpr uint8_t kFfByte = 0xFF;
// Undecodable bytes (0x81..0xFE) travel through the text as these lone surrogates.
constexpr char16_t kRawByteBase = 0xDC00;
constexpr uint32_t kSupplementaryLinear = 189000; // linear index of 0x90308130
constexpr uint32_t kLinearEnd = kSupplementaryLinear + 0x100000;

constexpr bool IsLead(uint8_t b) {
    return b >= 0x81 && b <= 0xFE;
}
constexpr bool IsDigit(uint8_t b) {
    return b >= 0x30 && b <= 0x39;
}

uint16_t DoubleByte(uint8_t lead, uint8_t trail) {
    if (trail < 0x40 || trail == 0xFF) return 0;
    return kGbkDoubleByte[(lead - 0x81) * 191 + (trail - 0x40)];
}

// Code point of a four-byte sequence's linear index, or 0 if none.
char32_t FourByte(uint32_t linear) {
    if (linear < kGb18030BmpLinearEnd) {
        const auto* run =
            std::upper_bound(std::begin(kGb18030Runs), std::end(kGb18030Runs), linear,
                             [](uint32_t l, const Gb18030Run& r) { return l < r.linear; }) -
            1;
        return run->code ? char32_t(run->code + (linear - run->linear)) : 0;
    }
    if (linear >= kSupplementaryLinear && linear < kLinearEnd)
        return char32_t(0x10000 + (linear - kSupplementaryLinear));
    return 0;
}

uint32_t FourByteBytes(uint32_t linear) {
    const uint32_t b4 = linear % 10, b3 = linear / 10 % 126, b2 = linear / 1260 % 10,
                   b1 = linear / 12600;
    return (0x81 + b1) << 24 | (0x30 + b2) << 16 | (0x81 + b3) << 8 | (0x30 + b4);
}

// Byte sequence of every BMP character, built on first use: 0 = none, values
// below 0x100 one byte, below 0x10000 two bytes, otherwise four bytes.
class EncodeTable {
  public:
    EncodeTable() : codes_(0x10000, 0) {
        for (uint32_t c = 0; c < 0x80; ++c)
            codes_[c] = c;
        codes_[kEuro] = kEuroByte;
        codes_[kFfChar] = kFfByte;
        for (uint32_t lead = 0x81; lead <= 0xFE; ++lead)
            for (uint32_t trail = 0x40; trail <= 0xFE; ++trail)
                if (uint16_t c = DoubleByte(uint8_t(lead), uint8_t(trail)))
                    codes_[c] = lead << 8 | trail;
        const size_t runs = std::size(kGb18030Runs);
        for (size_t i = 0; i < runs; ++i) {
            if (!kGb18030Runs[i].code) continue;
            const uint32_t end = i + 1 < runs ? kGb18030Runs[i + 1].linear : kGb18030BmpLinearEnd;
            for (uint32_t l = kGb18030Runs[i].linear; l < end; ++l)
                codes_[kGb18030Runs[i].code + (l - kGb18030Runs[i].linear)] = FourByteBytes(l);
        }
    }
    uint32_t operator[](char16_t c) const { return codes_[c]; }

  private:
    std::vector<uint32_t> codes_;
};

const EncodeTable& Encoder() {
    static const EncodeTable table; // thread-safe one-time construction
    return table;
}

} // namespace

std::u16string GbkToUtf16(std::string_view bytes) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const size_t n = bytes.size();
    std::u16string out(n, u'\0'); // never more code units than bytes
    char16_t* o = out.data();
    size_t i = 0;
    while (i < n) {
        const uint8_t b = p[i];
        if (b < 0x80) {
            *o++ = b, ++i;
            continue;
        }
        if (b == kEuroByte || b == kFfByte) {
            *o++ = b == kEuroByte ? kEuro : kFfChar, ++i;
            continue;
        }
        if (IsLead(b) && i + 1 < n) {
            if (uint16_t c = DoubleByte(b, p[i + 1])) {
                *o++ = c, i += 2;
                continue;
            }
            if (IsDigit(p[i + 1]) && i + 3 < n && IsLead(p[i + 2]) && IsDigit(p[i + 3])) {
                const uint32_t linear =
                    ((uint32_t(b - 0x81) * 10 + (p[i + 1] - 0x30)) * 126 + (p[i + 2] - 0x81)) * 10 +
                    (p[i + 3] - 0x30);
                if (char32_t c = FourByte(linear)) {
                    if (c < 0x10000) {
                        *o++ = char16_t(c);
                    } else {
                        *o++ = char16_t(0xD800 + ((c - 0x10000) >> 10));
                        *o++ = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
                    }
                    i += 4;
                    continue;
                }
            }
        }
        // Not the start of a valid sequence: keep the byte itself.
        *o++ = char16_t(kRawByteBase + b), ++i;
    }
    out.resize(size_t(o - out.data()));
    return out;
}

std::string Utf16ToGbk(std::u16string_view text) {
    const EncodeTable& table = Encoder();
    const size_t n = text.size();
    // Two bytes per unit covers everything but the BMP characters that need
    // four-byte sequences (rare); the buffer grows when one of those would
    // not fit. Bytes go straight into the buffer: appending one char at a
    // time costs more than the table look-up.
    std::string out(n * 2 + 4, '\0');
    char* o = out.data();
    char* limit = o + out.size() - 4; // room for any one sequence while o <= limit
    const char16_t* p = text.data();
    const char16_t* const end = p + n;
    while (p < end) {
        // Runs of ASCII, the bulk of most notes, are copied without a look-up.
        while (p < end && *p < 0x80 && o <= limit)
            *o++ = char(*p++);
        if (p == end) break;
        if (o > limit) {
            const size_t used = size_t(o - out.data());
            out.resize(out.size() + size_t(end - p) * 2 + 4 + out.size() / 2);
            o = out.data() + used;
            limit = out.data() + out.size() - 4;
            continue;
        }
        const char16_t c = *p++;
        if (c < 0x80) {
            *o++ = char(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
            const uint32_t cp = 0x10000 + ((uint32_t(c) - 0xD800) << 10) + (*p++ - 0xDC00);
            const uint32_t code = FourByteBytes(kSupplementaryLinear + (cp - 0x10000));
            *o++ = char(code >> 24), *o++ = char(code >> 16), *o++ = char(code >> 8),
            *o++ = char(code);
            continue;
        }
        if (c >= kRawByteBase + 0x80 && c <= kRawByteBase + 0xFF) {
            *o++ = char(c - kRawByteBase);
            continue;
        }
        const uint32_t code = table[c];
        if (code == 0) {
            *o++ = '?'; // a lone surrogate a user typed: nothing sensible to keep
        } else if (code < 0x100) {
            *o++ = char(code);
        } else if (code < 0x10000) {
            *o++ = char(code >> 8), *o++ = char(code);
        } else {
            *o++ = char(code >> 24), *o++ = char(code >> 16), *o++ = char(code >> 8),
            *o++ = char(code);
        }
    }
    out.resize(size_t(o - out.data()));
    return out;
}

} // namespace tabulon
