#include "app/NoteText.h"

#include <algorithm>

#include "codec/Gbk.h"
#include "codec/Utf8.h"

namespace tabulon {

namespace {

template <class Char> std::basic_string<Char> Joined(std::basic_string_view<Char> text) {
    const size_t end = std::min(text.find(Char(0)), text.size());
    std::basic_string<Char> out;
    out.reserve(end + end / 32 + 2);
    size_t i = 0;
    while (i < end) {
        size_t start = i;
        while (i < end && text[i] != Char('\r') && text[i] != Char('\n'))
            ++i;
        out.append(text.data() + start, i - start);
        out += Char('\r');
        out += Char('\n');
        if (i < end && text[i] == Char('\r')) {
            ++i;
            if (i < end && text[i] == Char('\n')) ++i;
        } else if (i < end) {
            ++i;
        }
    }
    return out;
}

// True when Joined(text) would equal `text`: no NUL, every line end a CR LF,
// and a line end at the very end (or no text at all). The rich edit control
// hands out its text in this form, so the copy can be skipped.
bool AlreadyJoined(std::u16string_view text) {
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c > u'\r') continue;
        if (c == 0 || c == u'\n') return false;
        if (c == u'\r') {
            if (i + 1 == n || text[i + 1] != u'\n') return false;
            ++i;
        }
    }
    return n == 0 || text[n - 1] == u'\n';
}

} // namespace

std::string JoinedLines(std::string_view text) {
    return Joined(text);
}
std::u16string JoinedLines(std::u16string_view text) {
    return Joined(text);
}

namespace {

[[noreturn]] void NotText(const wchar_t* why) {
    throw ENoteNotText(why);
}

// Strict UTF-8: any damage (codec/Utf8.h) refuses the file.
std::u16string DecodeUtf8(std::string_view in) {
    bool damaged = false;
    std::u16string out = Utf16FromUtf8(in, &damaged);
    if (damaged) NotText(L"Its UTF-8 text is damaged.");
    return out;
}

std::u16string DecodeUtf16(std::string_view in, bool bigEndian) {
    if (in.size() % 2) NotText(L"Its UTF-16 text ends in half a character.");
    std::u16string out(in.size() / 2, u'\0');
    for (size_t k = 0; k < out.size(); ++k) {
        const auto a = static_cast<unsigned char>(in[2 * k]);
        const auto b = static_cast<unsigned char>(in[2 * k + 1]);
        out[k] = bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    }
    // A lone surrogate has no GBK or GB18030 form: it would not come back.
    for (size_t k = 0; k < out.size(); ++k) {
        const char16_t c = out[k];
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < out.size() && out[k + 1] >= 0xDC00 &&
            out[k + 1] <= 0xDFFF) {
            ++k;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            NotText(L"Its UTF-16 text is damaged.");
        }
    }
    return out;
}

std::u16string UnicodeNote(std::u16string text) {
    if (text.find(u'\0') != std::u16string::npos)
        NotText(L"It holds NUL characters: it is not a plain text note.");
    return JoinedLines(text);
}

} // namespace

std::u16string NoteTextFromFile(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return UnicodeNote(DecodeUtf8(bytes.substr(3)));
    if (bytes.starts_with("\xFF\xFE")) return UnicodeNote(DecodeUtf16(bytes.substr(2), false));
    if (bytes.starts_with("\xFE\xFF")) return UnicodeNote(DecodeUtf16(bytes.substr(2), true));
    if (bytes.find('\0') != std::string_view::npos)
        NotText(L"It holds NUL bytes: it is not a plain text note.");
    // CR and LF are never part of a GBK or GB18030 sequence, so the lines can
    // be found in the bytes before decoding.
    return GbkToUtf16(JoinedLines(bytes));
}

std::string NoteFileBytes(std::u16string_view text, bool fileExists) {
    if (fileExists) {
        if (AlreadyJoined(text)) return Utf16ToGbk(text);
        return Utf16ToGbk(JoinedLines(text));
    }
    std::string bytes = Utf16ToGbk(text);
    bytes += "\r\n";
    return bytes;
}

} // namespace tabulon
