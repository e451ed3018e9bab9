#include "app/NoteText.h"

#include <algorithm>

#include "codec/Gbk.h"

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

std::u16string NoteTextFromFile(std::string_view bytes) {
    // CR, LF and NUL are never part of a GBK or GB18030 sequence, so the
    // lines can be found in the bytes before decoding.
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
