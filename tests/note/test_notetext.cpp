// The note file's text rules: line ends, the write table, the codec round trips.
#include <gtest/gtest.h>

#include <random>

#include "app/NoteText.h"
#include "codec/Gbk.h"
#include "codec/LineList.h"
#include "tests/note/WriteTable.h"

namespace tabulon {
namespace {

std::string Bytes(const char* text, size_t n) {
    return std::string(text, n);
}

TEST(NoteText, JoinedLinesMatchesTheLineList) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0'};
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        size_t length = random() % 12;
        for (size_t i = 0; i < length; ++i)
            text += alphabet[random() % 5];
        EXPECT_EQ(JoinedLines(text), LineList(text).Text()) << round;
        std::u16string wide(text.begin(), text.end());
        EXPECT_EQ(JoinedLines(wide), BasicLineList<char16_t>(wide).Text()) << round;
    }
}

TEST(NoteText, WriteTable) {
    for (const testing::WriteRow& row : testing::WriteTable())
        EXPECT_EQ(NoteFileBytes(row.text, row.exists), row.file)
            << std::string(row.text.begin(), row.text.end()) << " exists=" << row.exists;
}

TEST(NoteText, LoadRules) {
    EXPECT_EQ(NoteTextFromFile("abc"), u"abc\r\n");
    EXPECT_EQ(NoteTextFromFile("a\nb\n"), u"a\r\nb\r\n");
    EXPECT_EQ(NoteTextFromFile("a\rb\r\n\n"), u"a\r\nb\r\n\r\n");
    EXPECT_EQ(NoteTextFromFile(""), u"");
    // A note that ends with a line break survives load and write unchanged.
    EXPECT_EQ(NoteFileBytes(NoteTextFromFile("x\r\n\r\ny\r\n"), true), "x\r\n\r\ny\r\n");
    // One without gains the break at the first write.
    EXPECT_EQ(NoteFileBytes(NoteTextFromFile("abc"), true), "abc\r\n");
}

// Notes saved by other editors: a byte-order mark says how to read them, and
// the first write puts them back in GBK (中文 is D6 D0 CE C4, 😀 94 39 FC 36).
TEST(NoteText, NotesWithAByteOrderMarkLoadWhole) {
    const std::u16string text = u"a\r\n\u4E2D\u6587 \U0001F600\r\n";
    EXPECT_EQ(NoteTextFromFile("\xEF\xBB\xBF"
                               "a\n\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80"),
              text);
    EXPECT_EQ(NoteTextFromFile(Bytes("\xFF\xFE"
                                     "a\0\n\0\x2D\x4E\x87\x65 \0\x3D\xD8\x00\xDE",
                                     16)),
              text);
    EXPECT_EQ(NoteTextFromFile(Bytes("\xFE\xFF"
                                     "\0a\0\r\0\n\x4E\x2D\x65\x87\0 \xD8\x3D\xDE\x00"
                                     "\0\r\0\n",
                                     22)),
              text);
    EXPECT_EQ(NoteFileBytes(text, true), "a\r\n\xD6\xD0\xCE\xC4 \x94\x39\xFC\x36\r\n");
    EXPECT_EQ(NoteTextFromFile("\xEF\xBB\xBF"), u"");
    EXPECT_EQ(NoteTextFromFile("\xFF\xFE"), u"");
}

// Bytes that would not come back whole are refused rather than cut: the
// caller keeps the file untouched.
TEST(NoteText, BytesThatWouldLoseTextAreRefused) {
    const std::string refused[] = {
        Bytes("ab\0cd\r\n", 7), // NUL without a mark: the rest would be cut
        Bytes("\0abc", 4),
        "\xEF\xBB\xBF"
        "ab\xC3", // UTF-8 cut inside a character
        "\xEF\xBB\xBF"
        "\xC0\xAF", // overlong form
        "\xEF\xBB\xBF"
        "\xED\xA0\x80", // a surrogate in UTF-8
        "\xEF\xBB\xBF"
        "\xF4\x90\x80\x80", // past U+10FFFF
        Bytes("\xEF\xBB\xBF"
              "a\0b",
              6), // NUL character after a mark
        "\xFF\xFE"
        "a", // half a UTF-16 unit
        Bytes("\xFF\xFE"
              "\x00\xD8"
              "a\0",
              6), // a lone high surrogate
        Bytes("\xFE\xFF"
              "\xDC\x00",
              4),                    // a lone low surrogate
        Bytes("\xFF\xFE\0\0a\0", 6), // UTF-32: NUL characters
    };
    for (const std::string& bytes : refused)
        EXPECT_THROW(NoteTextFromFile(bytes), ENoteNotText) << ::testing::PrintToString(bytes);
}

TEST(NoteText, MarksAreTheirGbkBytes) {
    EXPECT_EQ(NoteFileBytes(u"\u221A", true), "\xA1\xCC\r\n");
    EXPECT_EQ(NoteFileBytes(u"\u00D7", true), "\xA1\xC1\r\n");
    EXPECT_EQ(NoteTextFromFile("\xA1\xCC\xA1\xC1"), u"\u221A\u00D7\r\n");
    EXPECT_EQ(NoteFileBytes(u"\u4ECA\u5929", true), "\xBD\xF1\xCC\xEC\r\n");
}

TEST(NoteText, UndecodableBytesSurviveLoadAndWrite) {
    const std::string files[] = {
        "\x80\xFF\r\n",                                  // bytes that start nothing
        "caf\xC3\xA9 \xE2\x9C\x93\r\n",                  // a UTF-8 file
        "\x81\r\n\xFE\r\n",                              // a lead byte cut by a line end
        "ok \xA1\xCC then \x81\x30\r\n",                 // a four-byte sequence cut short
        std::string("\xBD\xF1\xCC\xEC\x81", 5) + "\r\n", // a trailing lead byte
    };
    for (const std::string& file : files)
        EXPECT_EQ(NoteFileBytes(NoteTextFromFile(file), true), file);
    // Only the line ends change.
    EXPECT_EQ(NoteFileBytes(NoteTextFromFile("\x80\n\xFF"), true), "\x80\r\n\xFF\r\n");
}

TEST(NoteText, CharactersBeyondGbkUseFourByteSequences) {
    const std::u16string text = u"\U0001F600 \U00020000 \u20AC";
    std::string bytes = NoteFileBytes(text, true);
    EXPECT_EQ(bytes.substr(0, 4), "\x94\x39\xFC\x36"); // U+1F600 in GB18030
    EXPECT_EQ(bytes.find('?'), std::string::npos);
    EXPECT_EQ(NoteTextFromFile(bytes), text + u"\r\n");
}

// Whatever shape the editor's text has (already CR LF throughout, or with
// lone ends, NULs, a missing last end), the bytes are those of its lines,
// each encoded on its own and followed by CR LF.
TEST(NoteText, WriteBytesAreTheLinesEncoded) {
    std::mt19937 random(11);
    const char16_t alphabet[] = {u'a',      u'\r',  u'\n',  u'\0',  u'\u4E2D',
                                 u'\u221A', 0xD83D, 0xDE00, 0xDC81, u'\u20AC'};
    const std::u16string crLf = u"\r\n";
    for (int round = 0; round < 5000; ++round) {
        std::u16string text;
        const size_t length = random() % 16;
        for (size_t i = 0; i < length; ++i) {
            // Half of the texts use CR LF only, as the editor gives them.
            if (round % 2 && random() % 4 == 0)
                text += crLf;
            else
                text += alphabet[random() % (round % 2 ? 1 : std::size(alphabet))];
            if (round % 2 && random() % 3 == 0) text += alphabet[4 + random() % 6];
        }
        if (round % 4 == 1) text += crLf;
        std::string expected;
        const BasicLineList<char16_t> lines(text);
        for (const std::u16string& line : lines.Lines())
            expected += Utf16ToGbk(line) + "\r\n";
        EXPECT_EQ(NoteFileBytes(text, true), expected) << round;
    }
}

} // namespace
} // namespace tabulon
