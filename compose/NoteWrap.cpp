#include "compose/NoteWrap.h"

#include <algorithm>
#include <cstdint>

namespace tabulon {

namespace {

constexpr wchar_t kEllipsis = L'\u2026';

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\u3000';
}
bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// A character beyond the 16-bit range, where wchar_t holds one whole (not on Windows).
template <class Char> bool Supplementary(Char c) {
    if constexpr (sizeof(Char) > 2)
        return uint32_t(c) > 0xFFFF;
    else
        return false;
}

// Ideographs, kana, hangul and full-width forms: a line may break on either
// side of each of them, as it does in the editor. Supplementary characters
// (surrogate pairs) are the CJK extensions in practice.
bool IsCjk(wchar_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFFEF) || IsHighSurrogate(c) || IsLowSurrogate(c) ||
           Supplementary(c);
}

// Punctuation that never starts a line.
bool ClosesALine(wchar_t c) {
    static constexpr std::wstring_view kClosing = L"，。、；：？！）》」』】〕〉”’…,.;:?!)]}%";
    return kClosing.find(c) != std::wstring_view::npos;
}

// May a line end just before text[k] (0 < k < size)?
bool BreakBefore(std::wstring_view text, size_t k) {
    const wchar_t before = text[k - 1], at = text[k];
    if (IsLowSurrogate(at)) return false;
    if (IsSpace(at)) return false; // spaces stay with the word before them
    if (ClosesALine(at)) return false;
    if (IsSpace(before)) return true;
    return IsCjk(before) || IsCjk(at);
}

std::wstring_view TrimRight(std::wstring_view s) {
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Index after the most characters of the word [start, end) that fit in
// `width`: at least one character (a whole surrogate pair), so that every
// line makes progress.
size_t FitInsideWord(std::wstring_view text, size_t start, size_t end, int width,
                     const MeasureText& measure) {
    auto next = [&](size_t i) { return IsHighSurrogate(text[i]) && i + 1 < end ? i + 2 : i + 1; };
    size_t fits = next(start);
    while (fits < end) {
        const size_t more = next(fits);
        if (measure(text.substr(start, more - start)) > width) break;
        fits = more;
    }
    return fits;
}

bool Blank(std::wstring_view line) {
    return TrimRight(line).empty();
}

// Wraps one line of the note into `out`; stops early once `out` holds a
// line with text at index `limit` or beyond: that is already more than shows.
void WrapParagraph(std::wstring_view text, int width, const MeasureText& measure, size_t limit,
                   std::vector<std::wstring>& out) {
    if (text.empty()) {
        out.emplace_back();
        return;
    }
    size_t pos = 0;
    while (pos < text.size()) {
        // The furthest break whose line (without its trailing spaces) fits.
        size_t lineEnd = 0;
        for (size_t k = pos + 1; k <= text.size(); ++k) {
            if (k < text.size() && !BreakBefore(text, k)) continue;
            if (measure(TrimRight(text.substr(pos, k - pos))) > width) break;
            lineEnd = k;
        }
        if (lineEnd == 0) {
            // Not even the first word fits: break inside it.
            size_t wordEnd = pos + 1;
            while (wordEnd < text.size() && !BreakBefore(text, wordEnd))
                ++wordEnd;
            lineEnd = FitInsideWord(text, pos, wordEnd, width, measure);
        }
        out.emplace_back(TrimRight(text.substr(pos, lineEnd - pos)));
        pos = lineEnd;
        if (out.size() > limit && !Blank(out.back())) return;
    }
}
// `line` shortened until it and "…" fit in `width`, then "…" appended.
std::wstring WithEllipsis(std::wstring line, int width, const MeasureText& measure) {
    for (;;) {
        line.resize(TrimRight(line).size());
        if (line.empty() || measure(line + kEllipsis) <= width) break;
        line.pop_back();
        if (!line.empty() && IsHighSurrogate(line.back())) line.pop_back();
    }
    return line + kEllipsis;
}

} // namespace

WrappedNote WrapNote(const std::vector<std::wstring>& noteLines, int width, int maxLines,
                     const MeasureText& measure) {
    WrappedNote note;
    const size_t limit = size_t(std::max(maxLines, 0));
    for (const std::wstring& line : noteLines) {
        WrapParagraph(line, width, measure, limit, note.lines);
        if (note.lines.size() > limit && !Blank(note.lines.back())) break;
    }
    while (!note.lines.empty() && Blank(note.lines.back()))
        note.lines.pop_back();
    if (note.lines.size() <= limit) return note;
    note.cut = true;
    note.lines.resize(limit);
    if (!note.lines.empty())
        note.lines.back() = WithEllipsis(std::move(note.lines.back()), width, measure);
    return note;
}

} // namespace tabulon
