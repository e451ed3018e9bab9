// The note's lines as the picture shows them, measured with a made-up font:
// 7 px a character, 13 px a Chinese one, tabs every 56 px.
#include "compose/NoteWrap.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

using Lines = std::vector<std::wstring>;

int Measure(std::wstring_view text) {
    int x = 0;
    for (wchar_t c : text) {
        if (c == L'\t')
            x = (x / 56 + 1) * 56;
        else if (c >= 0xDC00 && c <= 0xDFFF)
            continue; // second half of a pair
        else
            x += c >= 0x2E80 ? 13 : 7;
    }
    return x;
}

WrappedNote Wrap(const Lines& lines, int width = 70, int maxLines = 100) {
    return WrapNote(lines, width, maxLines, Measure);
}

TEST(NoteWrap, TextIsKeptAsTyped) {
    // "&" is a character, tabs stay tabs: only the drawing expands them.
    EXPECT_EQ(Wrap({L"R&D", L"a\tb"}).lines, (Lines{L"R&D", L"a\tb"}));
    EXPECT_EQ(Wrap({L"R&D"}).cut, false);
}

TEST(NoteWrap, WordsWrapAtSpacesAndTheSpacesAtABreakGo) {
    // 10 characters a line.
    EXPECT_EQ(Wrap({L"one two three four"}).lines, (Lines{L"one two", L"three four"}));
    EXPECT_EQ(Wrap({L"exactly10c next"}).lines, (Lines{L"exactly10c", L"next"}));
    // Leading spaces are part of the text; trailing ones hang off the line.
    EXPECT_EQ(Wrap({L"  indented words"}).lines, (Lines{L"  indented", L"words"}));
    EXPECT_EQ(Wrap({L"word          "}).lines, (Lines{L"word"}));
}

TEST(NoteWrap, TabsCountTheirExpandedWidth) {
    // "ab\tcd" is 56 + 14 = 70 px: it fits; one more character does not.
    EXPECT_EQ(Wrap({L"ab\tcd"}).lines, (Lines{L"ab\tcd"}));
    EXPECT_EQ(Wrap({L"ab\tcde"}).lines, (Lines{L"ab", L"cde"}));
}

TEST(NoteWrap, WordLongerThanTheLineBreaksInside) {
    // A web address of 60 characters in lines of 47 (330 px): 47 + 13.
    const std::wstring url = L"https://example.com/a/very/long/path/to/a/page/index.htm?q=1";
    ASSERT_EQ(url.size(), 60u);
    const WrappedNote note = Wrap({url}, 330);
    ASSERT_EQ(note.lines.size(), 2u);
    EXPECT_EQ(note.lines[0], url.substr(0, 47));
    EXPECT_EQ(note.lines[1], url.substr(47));
    // After the long word, wrapping at spaces goes on as usual.
    EXPECT_EQ(Wrap({L"abcdefghijklmno pq rs"}).lines, (Lines{L"abcdefghij", L"klmno pq", L"rs"}));
    // A line narrower than one character still takes one a line.
    EXPECT_EQ(Wrap({L"abc"}, 3).lines, (Lines{L"a", L"b", L"c"}));
}

TEST(NoteWrap, ChineseBreaksBetweenCharactersButNotBeforeClosingPunctuation) {
    // 13 px each: five to a 70 px line.
    EXPECT_EQ(Wrap({L"今天下午三点开会讨论"}).lines, (Lines{L"今天下午三", L"点开会讨论"}));
    // "，" may not start a line: the character before it goes down with it.
    EXPECT_EQ(Wrap({L"今天下午三，点开会"}).lines, (Lines{L"今天下午", L"三，点开会"}));
    // Latin words inside Chinese text still break as words.
    EXPECT_EQ(Wrap({L"开会abcdefg"}).lines, (Lines{L"开会", L"abcdefg"}));
}

TEST(NoteWrap, SurrogatePairsAreNeverSplit) {
    // Six characters of CJK extension B as UTF-16 pairs, as on Windows.
    std::wstring pairs;
    for (wchar_t low = 0xDC00; low < 0xDC06; ++low)
        pairs += {wchar_t(0xD840), low};
    const WrappedNote note = Wrap({pairs}, 30); // two 13 px characters a line
    ASSERT_EQ(note.lines.size(), 3u);
    for (const std::wstring& line : note.lines)
        EXPECT_EQ(line.size(), 4u);
}

TEST(NoteWrap, LinesAndEmptyLinesKeepTheirPlaces) {
    EXPECT_EQ(Wrap({L"a", L"", L"b"}).lines, (Lines{L"a", L"", L"b"}));
    // Empty lines at the end show nothing and are dropped.
    EXPECT_EQ(Wrap({L"a", L"", L""}).lines, (Lines{L"a"}));
    EXPECT_TRUE(Wrap({L""}).lines.empty());
}

TEST(NoteWrap, NoteLongerThanThePictureEndsWithAnEllipsis) {
    Lines lines;
    for (int i = 0; i < 10; ++i)
        lines.push_back(L"line " + std::to_wstring(i));
    const WrappedNote note = Wrap(lines, 70, 4);
    EXPECT_TRUE(note.cut);
    EXPECT_EQ(note.lines, (Lines{L"line 0", L"line 1", L"line 2", L"line 3…"}));
    // A full last line gives up characters to make room for the "…".
    const WrappedNote full = Wrap({L"abcdefghij", L"klmnopqrst", L"more"}, 70, 2);
    EXPECT_EQ(full.lines, (Lines{L"abcdefghij", L"klmnopqrs…"}));
    EXPECT_LE(Measure(full.lines[1]), 70);
    // Exactly as many lines as fit, or only empty lines beyond: nothing is cut.
    EXPECT_FALSE(Wrap({L"a", L"b", L"c", L"d"}, 70, 4).cut);
    EXPECT_FALSE(Wrap({L"a", L"b", L"c", L"d", L"", L""}, 70, 4).cut);
    // A paragraph that wraps past the end is cut inside it.
    const WrappedNote wrapped = Wrap({L"one two three four five six"}, 70, 2);
    EXPECT_EQ(wrapped.lines, (Lines{L"one two", L"three fou…"}));
    EXPECT_TRUE(wrapped.cut);
}

TEST(NoteWrap, HugeNoteIsWrappedOnlyAsFarAsItShows) {
    // 200 000 characters without a break: the work stops after the lines that show.
    int calls = 0;
    const WrappedNote note =
        WrapNote({std::wstring(200000, L'x')}, 70, 3, [&calls](std::wstring_view t) {
            ++calls;
            return Measure(t);
        });
    EXPECT_EQ(note.lines.size(), 3u);
    EXPECT_TRUE(note.cut);
    EXPECT_LT(calls, 200);
}

} // namespace
} // namespace tabulon
