// Compares our code page 936 tables with the system's own conversion.
#include "codec/Gbk.h"

#include <gtest/gtest.h>
#include <windows.h>

using tabulon::GbkToUtf16;
using tabulon::Utf16ToGbk;

TEST(GbkWindows, DecodesEveryDoubleByteCodeLikeTheSystem) {
    int defined = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char code[2] = {char(lead), char(trail)};
            wchar_t wide[4] = {};
            const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, code, 2, wide, 4);
            if (n != 1) continue;
            ++defined;
            const std::u16string ours = GbkToUtf16(std::string_view(code, 2));
            ASSERT_EQ(ours.size(), 1u) << std::hex << lead << ' ' << trail;
            EXPECT_EQ(int(ours[0]), int(wide[0])) << std::hex << lead << ' ' << trail;
        }
    }
    EXPECT_EQ(defined, 126 * 190);
    // Single bytes, including 0x80 and 0xFF, which the system maps even though
    // it flags 0xFF under MB_ERR_INVALID_CHARS.
    for (int b = 0; b <= 0xFF; b = b == 0x7F ? 0x80 : b == 0x80 ? 0xFF : b + 1) {
        const char byte = char(b);
        wchar_t wide = 0;
        ASSERT_EQ(MultiByteToWideChar(936, 0, &byte, 1, &wide, 1), 1);
        EXPECT_EQ(GbkToUtf16(std::string_view(&byte, 1)), std::u16string(1, char16_t(wide))) << b;
    }
}

TEST(GbkWindows, EncodesLikeTheSystemWhereverItHasACode) {
    int compared = 0;
    for (int c = 0x80; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const wchar_t wide = wchar_t(c);
        char bytes[8] = {};
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes,
                                          nullptr, &usedDefault);
        if (n <= 0 || usedDefault) continue;
        // Without best fit the system can still answer with a plain '?'.
        if (n == 1 && bytes[0] == '?') continue;
        ++compared;
        EXPECT_EQ(Utf16ToGbk(std::u16string(1, char16_t(c))), std::string(bytes, size_t(n)))
            << "U+" << std::hex << c;
    }
    EXPECT_EQ(compared, 126 * 190 + 2); // every double-byte code, 0x80 and 0xFF
}
