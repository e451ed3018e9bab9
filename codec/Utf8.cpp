#include "codec/Utf8.h"

namespace tabulon {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Calls `emit` with each code point of `in`, U+FFFD for each damaged
// stretch. The second byte's range rules out overlong forms, surrogates and
// values past U+10FFFF at the first byte that shows them.
template <class Emit> void DecodeUtf8(std::string_view in, bool* damaged, Emit emit) {
    size_t i = 0;
    while (i < in.size()) {
        const unsigned char lead = static_cast<unsigned char>(in[i]);
        int extra = 0;
        char32_t c = lead;
        unsigned char low = 0x80, high = 0xBF; // the second byte's range
        if (lead < 0x80) {
            emit(c);
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, c = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;  // overlong below U+0800
            if (lead == 0xED) high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, c = lead & 0x07;
            if (lead == 0xF0) low = 0x90;  // overlong below U+10000
            if (lead == 0xF4) high = 0x8F; // past U+10FFFF
        } else {
            extra = -1; // a continuation byte or a lead no sequence has
        }
        size_t used = 1;
        for (int k = 1; k <= extra; ++k, ++used) {
            if (i + used >= in.size()) {
                extra = -1;
                break;
            }
            const unsigned char next = static_cast<unsigned char>(in[i + used]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                extra = -1;
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (extra < 0) {
            if (damaged) *damaged = true;
            c = kReplacement;
        }
        emit(c);
        i += used;
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        out += char16_t(0xD800 + ((c - 0x10000) >> 10));
        out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += char16_t(c);
    }
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

std::u16string Utf16FromUtf8(std::string_view utf8, bool* damaged) {
    std::u16string out;
    out.reserve(utf8.size());
    DecodeUtf8(utf8, damaged, [&out](char32_t c) { AppendUtf16(out, c); });
    return out;
}

std::wstring WideFromUtf8(std::string_view utf8, bool* damaged) {
    std::wstring out;
    out.reserve(utf8.size());
    DecodeUtf8(utf8, damaged, [&out](char32_t c) {
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            out += wchar_t(0xD800 + ((c - 0x10000) >> 10));
            out += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += wchar_t(c);
        }
    });
    return out;
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = char32_t(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            // A high surrogate with its low one is one character.
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF)
                c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[++i]) - 0xDC00);
        }
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace tabulon
