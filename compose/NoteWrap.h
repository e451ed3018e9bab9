#pragma once
// The note's lines as the note picture shows them: each line of the note
// wrapped to the text area's width the way the editor wraps it, and, when
// the note is longer than the picture, cut after the last line that shows
// whole, which then ends with "…". Portable: the caller measures the text.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// Width in pixels of `text` drawn on one line (tabs expanded from its start).
using MeasureText = std::function<int(std::wstring_view text)>;

struct WrappedNote {
    std::vector<std::wstring> lines;
    bool cut = false; // some text did not fit; the last line ends with "…"
};

// Breaks after spaces and tabs and on either side of a Chinese, Japanese or
// Korean character (but not before closing punctuation); a word wider than
// the line is broken inside, after as many characters as fit (at least one).
// Spaces at a break are dropped. Empty lines at the end of the note are not
// counted when deciding whether it fits in `maxLines`.
WrappedNote WrapNote(const std::vector<std::wstring>& noteLines, int width, int maxLines,
                     const MeasureText& measure);

} // namespace tabulon
