#include "codec/Gbk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>

using tabulon::GbkToUtf16;
using tabulon::Utf16ToGbk;

namespace {

std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list)
        s += char(b);
    return s;
}

bool IsRawByte(char16_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}

} // namespace

TEST(Gbk, EveryDoubleByteCodeIsOneCharacterAndEncodesBack) {
    std::set<char16_t> seen;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const std::string code = Bytes({lead, trail});
            const std::u16string text = GbkToUtf16(code);
            ASSERT_EQ(text.size(), 1u) << std::hex << lead << ' ' << trail;
            EXPECT_FALSE(IsRawByte(text[0])) << std::hex << lead << ' ' << trail;
            EXPECT_TRUE(seen.insert(text[0]).second)
                << "two codes for U+" << std::hex << int(text[0]);
            EXPECT_EQ(Utf16ToGbk(text), code) << std::hex << lead << ' ' << trail;
        }
    }
    EXPECT_EQ(seen.size(), 126u * 190u);
}

TEST(Gbk, KnownCharacters) {
    EXPECT_EQ(Utf16ToGbk(u"√"), Bytes({0xA1, 0xCC}));
    EXPECT_EQ(Utf16ToGbk(u"×"), Bytes({0xA1, 0xC1}));
    EXPECT_EQ(Utf16ToGbk(u"中文"), Bytes({0xD6, 0xD0, 0xCE, 0xC4}));
    EXPECT_EQ(Utf16ToGbk(u"退出程序"), Bytes({0xCD, 0xCB, 0xB3, 0xF6, 0xB3, 0xCC, 0xD0, 0xF2}));
    EXPECT_EQ(GbkToUtf16(Bytes({0xA1, 0xCC, 0x41, 0xA1, 0xC1})), u"√A×");
    // Windows' code page 936: the euro sign is the single byte 0x80, 0xFF is a
    // private-use character, and the
    // old double-byte code A2E3 stays a private-use character.
    EXPECT_EQ(Utf16ToGbk(u"€"), "\x80");
    EXPECT_EQ(GbkToUtf16("\x80"), u"€");
    EXPECT_EQ(GbkToUtf16("\xFF"), u"\uF8F5");
    EXPECT_EQ(Utf16ToGbk(u"\uF8F5"), "\xFF");
    EXPECT_EQ(GbkToUtf16(Bytes({0xA2, 0xE3})), u"\uE76C");
    EXPECT_EQ(GbkToUtf16(Bytes({0xAA, 0xA1})), u"\uE000"); // first user-defined code
}

TEST(Gbk, AsciiIsUnchangedBothWays) {
    std::string bytes;
    std::u16string text;
    for (int c = 0; c < 0x80; ++c)
        bytes += char(c), text += char16_t(c);
    EXPECT_EQ(GbkToUtf16(bytes), text);
    EXPECT_EQ(Utf16ToGbk(text), bytes);
    EXPECT_EQ(GbkToUtf16(""), u"");
    EXPECT_EQ(Utf16ToGbk(u""), "");
}

TEST(Gbk, EveryBmpCharacterRoundTrips) {
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::u16string text(1, char16_t(c));
        const std::string bytes = Utf16ToGbk(text);
        ASSERT_TRUE(bytes.size() == 1 || bytes.size() == 2 || bytes.size() == 4)
            << std::hex << uint32_t(c);
        ASSERT_EQ(GbkToUtf16(bytes), text) << "U+" << std::hex << uint32_t(c);
    }
}

TEST(Gbk, CharactersOutsideGbkUseFourByteSequences) {
    struct Case {
        std::u16string text;
        std::string bytes;
    };
    const Case cases[] = {
        {u"😀", Bytes({0x94, 0x39, 0xFC, 0x36})},  // U+1F600, a surrogate pair
        {u"𠀀", Bytes({0x95, 0x32, 0x82, 0x36})}, // U+20000, CJK extension B
        {u"\U0010FFFF", Bytes({0xE3, 0x32, 0x9A, 0x35})},
        {u"\u9FA6", Bytes({0x82, 0x35, 0x8F, 0x33})}, // rare CJK in the BMP
        {u"\u3400", Bytes({0x81, 0x39, 0xEE, 0x39})}, // CJK extension A
        {u"\u00A5", Bytes({0x81, 0x30, 0x84, 0x36})},
        {u"\uFFFF", Bytes({0x84, 0x31, 0xA4, 0x39})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16ToGbk(c.text), c.bytes);
        EXPECT_EQ(GbkToUtf16(c.bytes), c.text);
    }
    // Mixed with GBK text, which keeps its two-byte codes.
    const std::u16string note = u"日记 😀 ok\r\n";
    EXPECT_EQ(Utf16ToGbk(note),
              Bytes({0xC8, 0xD5, 0xBC, 0xC7, 0x20, 0x94, 0x39, 0xFC, 0x36}) + " ok\r\n");
    EXPECT_EQ(GbkToUtf16(Utf16ToGbk(note)), note);
}

TEST(Gbk, UndecodableBytesSurviveDecodeAndEncode) {
    // A UTF-8 file: every byte comes back exactly.
    const std::string utf8 = "h\xC3\xA9llo \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80\r\n\xFF";
    const std::u16string text = GbkToUtf16(utf8);
    EXPECT_EQ(Utf16ToGbk(text), utf8);
    // Lead bytes cut off at the end, or followed by a byte that cannot trail.
    EXPECT_EQ(GbkToUtf16("ab\x81"), u"ab\xDC81");
    EXPECT_EQ(GbkToUtf16("\xB0\x20"), u"\xDCB0 ");
    EXPECT_EQ(GbkToUtf16("\xB0\x7F"), u"\xDCB0\x7F");
    EXPECT_EQ(GbkToUtf16("\x81\x30\x81"), u"\xDC81"
                                          u"0\xDC81");
    EXPECT_EQ(GbkToUtf16("\x81\x30"), u"\xDC81"
                                      u"0");
    // Four-byte forms beyond Unicode, or inside the gap after the BMP range.
    EXPECT_EQ(Utf16ToGbk(GbkToUtf16("\xE4\x30\x81\x30")), "\xE4\x30\x81\x30");
    EXPECT_EQ(Utf16ToGbk(GbkToUtf16("\x85\x30\x81\x30")), "\x85\x30\x81\x30");
}

TEST(Gbk, AnyByteStringSurvivesDecodeAndEncode) {
    std::mt19937 rng(936);
    // Bias towards lead bytes and digits so that partial sequences are common.
    const uint8_t pool[] = {0x30, 0x35, 0x39, 0x40, 0x41, 0x7F, 0x80, 0x81, 0x84, 0x90,
                            0xA1, 0xA2, 0xB0, 0xCC, 0xE3, 0xE4, 0xFE, 0xFF, 0x0D, 0x0A};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(rng() % 12, '\0');
        for (char& b : bytes)
            b = char(rng() % 3 ? pool[rng() % std::size(pool)] : rng() % 256);
        ASSERT_EQ(Utf16ToGbk(GbkToUtf16(bytes)), bytes);
    }
}

TEST(Gbk, LoneSurrogatesTypedByAUserBecomeQuestionMarks) {
    EXPECT_EQ(Utf16ToGbk(u"a\xD800"
                         u"b"),
              "a?b");
    EXPECT_EQ(Utf16ToGbk(u"\xDBFF"), "?");
    EXPECT_EQ(Utf16ToGbk(u"\xDC41"), "?"); // would stand for an ASCII byte, never produced
    EXPECT_EQ(Utf16ToGbk(u"\xDFFF\xD83D"), "??");
    EXPECT_EQ(Utf16ToGbk(u"\xD83D\x4E2D"), "?\xD6\xD0");
}

// Long texts are encoded as the sum of their characters, whatever the mix:
// long ASCII runs, two-byte codes, and enough four-byte codes to outgrow the
// two bytes per unit reserved at first.
TEST(Gbk, LongMixedTextsEncodeAsTheirCharacters) {
    const std::u16string pieces[] = {
        u"plain ascii text ", u"\u4E2D\u6587", u"\u0080", u"\U0001F600", u"\xDC81",
        u"\xD800!",           u"\r\n"};
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        std::u16string text;
        std::string expected;
        const size_t count = random() % 400;
        // Some rounds are almost all four-byte BMP codes.
        const size_t kinds = round % 3 == 0 ? 3 : std::size(pieces);
        for (size_t i = 0; i < count; ++i) {
            const std::u16string& piece = pieces[round % 3 == 0 ? 2 : random() % kinds];
            text += piece;
            expected += Utf16ToGbk(piece);
        }
        ASSERT_EQ(Utf16ToGbk(text), expected) << round;
    }
}
