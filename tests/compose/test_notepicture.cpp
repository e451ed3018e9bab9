// The note picture: size, paper colour, where the text may land.
#include "compose/NotePicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace tabulon {
namespace {

constexpr uint32_t kPaper = 0xFFFFDA; // 0x00RRGGBB of the pale yellow

uint32_t PixelAt(const TBitmap& bitmap, int x, int y) {
    const uint8_t* p = bitmap.ScanLine(y) + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// Where the text left ink: the bounding box and the bands of rows holding ink.
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    std::vector<std::pair<int, int>> bands; // [first row, last row] of each text line
    bool Any() const { return right >= 0; }
};

Ink FindInk(const TBitmap& bitmap) {
    Ink ink;
    bool inBand = false;
    for (int y = 0; y < bitmap.Height(); ++y) {
        bool rowHasInk = false;
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (PixelAt(bitmap, x, y) == kPaper) continue;
            rowHasInk = true;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
        if (rowHasInk && !inBand) ink.bands.push_back({y, y});
        if (rowHasInk) ink.bands.back().second = y;
        inBand = rowHasInk;
    }
    return ink;
}

std::unique_ptr<TBitmap> Render(std::wstring_view text) {
    auto bitmap = std::make_unique<TBitmap>();
    RenderNotePicture(WideLineList(text), *bitmap);
    return bitmap;
}
Ink InkOf(std::wstring_view text) {
    return FindInk(*Render(text));
}

TEST(NotePicture, EmptyNoteIsPlainPaleYellow) {
    for (std::wstring_view text : {L"", L"\r\n", L"   "}) {
        const auto held = Render(text);
        const TBitmap& bitmap = *held;
        ASSERT_EQ(bitmap.Width(), 350);
        ASSERT_EQ(bitmap.Height(), 300);
        EXPECT_FALSE(FindInk(bitmap).Any());
    }
}

TEST(NotePicture, TextStartsAtTheTextAreaInTheWindowTextColour) {
    const auto held = Render(L"Hello");
    const TBitmap& bitmap = *held;
    const Ink ink = FindInk(bitmap);
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.left, 14);
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.bottom, 20 + 16);
    // Antialiasing aside, the darkest pixel is the window-text colour.
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    bool found = false;
    for (int y = ink.top; y <= ink.bottom && !found; ++y)
        for (int x = ink.left; x <= ink.right && !found; ++x)
            found = PixelAt(bitmap, x, y) == (uint32_t(GetRValue(text)) << 16 |
                                              uint32_t(GetGValue(text)) << 8 | GetBValue(text));
    EXPECT_TRUE(found);
}

TEST(NotePicture, LongLinesWrapWithinTheTextArea) {
    std::wstring text;
    for (int i = 0; i < 40; ++i)
        text += L"wrapping words ";
    const Ink ink = InkOf(text);
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, 10);
    EXPECT_LT(ink.right, 340);
    EXPECT_GE(ink.bands.size(), 4u);
}

TEST(NotePicture, TextBelowThePictureIsCut) {
    std::wstring text;
    for (int i = 0; i < 40; ++i)
        text += L"line " + std::to_wstring(i) + L"\r\n";
    const auto held = Render(text);
    const TBitmap& bitmap = *held;
    EXPECT_EQ(bitmap.Height(), 300);
    const Ink ink = FindInk(bitmap);
    // Lines run down to the bottom edge and no further (the text area reaches 310).
    EXPECT_GE(ink.bottom, 285);
    EXPECT_LE(ink.bottom, 299);
    EXPECT_GE(ink.bands.size(), 15u);
}

TEST(NotePicture, CrLfAndCrLfEachStartANewLine) {
    const Ink one = InkOf(L"Alpha");
    ASSERT_EQ(one.bands.size(), 1u);
    const int lineHeight = [] {
        const Ink two = InkOf(L"Alpha\r\nAlpha");
        return two.bands.size() == 2 ? two.bands[1].first - two.bands[0].first : 0;
    }();
    ASSERT_GT(lineHeight, 8);
    const Ink four = InkOf(L"Alpha\rAlpha\nAlpha\r\nAlpha");
    ASSERT_EQ(four.bands.size(), 4u);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(four.bands[i].first - four.bands[i - 1].first, lineHeight);
    // An empty line in between leaves its row of text empty.
    const Ink gap = InkOf(L"Alpha\n\nAlpha");
    ASSERT_EQ(gap.bands.size(), 2u);
    EXPECT_EQ(gap.bands[1].first - gap.bands[0].first, 2 * lineHeight);
}

TEST(NotePicture, DrawsChineseText) {
    const Ink ink = InkOf(L"便签内容：今天下午三点开会");
    ASSERT_TRUE(ink.Any());
    EXPECT_GT(ink.right - ink.left, 100);
}

TEST(NotePicture, RenderingTwiceGivesTheSamePicture) {
    TBitmap bitmap;
    RenderNotePicture(WideLineList(L"first note with more text"), bitmap);
    RenderNotePicture(WideLineList(L"second"), bitmap);
    const auto fresh = Render(L"second");
    for (int y = 0; y < 300; ++y)
        ASSERT_EQ(0, std::memcmp(bitmap.ScanLine(y), fresh->ScanLine(y), 350 * 3)) << "row " << y;
}

} // namespace
} // namespace tabulon
