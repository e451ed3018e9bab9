#pragma once
// What a write puts on disk for the editor's text, by whether the note file
// existed before: worked out by hand from the note file's rules (letters
// stand for themselves; a new file takes the whole text as one line).
#include <string>
#include <vector>

namespace tabulon::testing {

struct WriteRow {
    std::u16string text;
    bool exists;
    std::string file;
};

inline const std::vector<WriteRow>& WriteTable() {
    static const std::vector<WriteRow> rows = {
        {u"", true, ""},
        {u"", false, "\r\n"},
        {u"abc", true, "abc\r\n"},
        {u"abc", false, "abc\r\n"},
        {u"a\r\nb", true, "a\r\nb\r\n"},
        {u"a\r\nb", false, "a\r\nb\r\n"},
        {u"a\r\n", true, "a\r\n"},
        {u"a\r\n", false, "a\r\n\r\n"},
        {u"a\nb", true, "a\r\nb\r\n"},
        {u"a\nb", false, "a\nb\r\n"},
    };
    return rows;
}

} // namespace tabulon::testing
