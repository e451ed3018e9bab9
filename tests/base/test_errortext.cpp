#include "base/ErrorText.h"

#include <gtest/gtest.h>

namespace tabulon {

TEST(ErrorBoxText, AppendsAFullStopToAPlainMessage) {
    EXPECT_EQ(ErrorBoxText(L"Cannot open file \"C:\\a.txt\". Access is denied"),
              L"Cannot open file \"C:\\a.txt\". Access is denied.");
    EXPECT_EQ(ErrorBoxText(L"加载失败"), L"加载失败.");
}

TEST(ErrorBoxText, KeepsAMessageEndingInAFullStop) {
    EXPECT_EQ(ErrorBoxText(L"The system cannot find the file specified."),
              L"The system cannot find the file specified.");
}

TEST(ErrorBoxText, KeepsAMessageEndingInACharacterThatSortsBeforeTheFullStop) {
    // '!' (0x21), '"' (0x22), ')' (0x29), ',' (0x2C), '-' (0x2D) and blanks sort before '.'.
    for (const wchar_t* m : {L"Stop!", L"Bad name \"x\"", L"(see above)", L"a,", L"a-", L"a "})
        EXPECT_EQ(ErrorBoxText(m), m) << static_cast<int>(std::wstring(m).back());
}

TEST(ErrorBoxText, AppendsAfterCharactersThatSortAfterTheFullStop) {
    EXPECT_EQ(ErrorBoxText(L"a/"), L"a/.");
    EXPECT_EQ(ErrorBoxText(L"10"), L"10.");
    EXPECT_EQ(ErrorBoxText(L"加载失败！"), L"加载失败！."); // full-width '!' is U+FF01
}

TEST(ErrorBoxText, LeavesAnEmptyMessageEmpty) {
    EXPECT_EQ(ErrorBoxText(L""), L"");
}

} // namespace tabulon
