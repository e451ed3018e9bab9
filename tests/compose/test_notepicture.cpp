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

// Columns of `bitmap` holding ink between rows top and bottom.
std::vector<bool> InkColumns(const TBitmap& bitmap, int top, int bottom) {
    std::vector<bool> ink(size_t(bitmap.Width()), false);
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (PixelAt(bitmap, x, y) != kPaper) ink[size_t(x)] = true;
    return ink;
}

TEST(NotePicture, AmpersandAndTabAreDrawnAsTyped) {
    // "R&D" shows its "&": wider than "RD", and no underline below the letters.
    const Ink amp = InkOf(L"R&D"), plain = InkOf(L"RD");
    ASSERT_TRUE(amp.Any() && plain.Any());
    EXPECT_GE(amp.right - amp.left, plain.right - plain.left + 4);
    EXPECT_EQ(amp.bottom, plain.bottom);
    // "&&" is two ampersands, not an escaped one.
    EXPECT_GT(InkOf(L"&&").right - InkOf(L"&&").left, InkOf(L"&").right - InkOf(L"&").left + 3);
    // A tab is white space up to the next tab stop (eight characters), not a box.
    const auto held = Render(L"a\tb");
    const Ink tab = FindInk(*held);
    const std::vector<bool> columns = InkColumns(*held, tab.top, tab.bottom);
    int longestGap = 0, gap = 0;
    for (int x = tab.left; x <= tab.right; ++x) {
        gap = columns[size_t(x)] ? 0 : gap + 1;
        longestGap = std::max(longestGap, gap);
    }
    EXPECT_GE(longestGap, 25);
    EXPECT_GE(tab.right, 10 + 40);
}

TEST(NotePicture, WordLongerThanTheLineWrapsInsideIt) {
    const std::wstring url = L"https://example.com/a/very/long/path/to/a/page/index.htm?q=1";
    ASSERT_EQ(url.size(), 60u);
    const Ink ink = InkOf(url);
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.bands.size(), 2u); // cut at the right edge, it would be one line
    EXPECT_LT(ink.right, 340);
    // The same after other words, and a long Chinese line wraps as well.
    EXPECT_GE(InkOf(L"see " + url).bands.size(), 2u);
    EXPECT_GE(InkOf(std::wstring(60, L'便')).bands.size(), 2u);
}

TEST(NotePicture, NoteTooLongForThePictureEndsWithAnEllipsis) {
    std::wstring text;
    for (int i = 0; i < 40; ++i)
        text += L"line " + std::to_wstring(i) + L"\r\n";
    const auto held = Render(text);
    const Ink ink = FindInk(*held);
    ASSERT_GE(ink.bands.size(), 15u);
    // Whole lines only, down to the bottom edge.
    EXPECT_LE(ink.bottom, 299);
    EXPECT_GE(ink.bottom, 270);
    // The last line shown is "line N…": the same pixels as that line drawn
    // alone in its place (the empty lines before it keep their places).
    const size_t shown = ink.bands.size();
    std::wstring expected;
    for (size_t i = 0; i + 1 < shown; ++i)
        expected += L"\r\n";
    expected += L"line " + std::to_wstring(shown - 1) + L"…";
    const auto alone = Render(expected);
    const auto [top, bottom] = ink.bands.back();
    for (int y = top; y <= bottom; ++y)
        ASSERT_EQ(0, std::memcmp(held->ScanLine(y), alone->ScanLine(y), 350 * 3)) << "row " << y;
    // A note of just the lines that show has no "…": its last line is narrower.
    std::wstring fits;
    for (size_t i = 0; i < shown; ++i)
        fits += L"line " + std::to_wstring(i) + L"\r\n";
    const auto whole = Render(fits);
    EXPECT_EQ(FindInk(*whole).bands.size(), shown);
    auto lastInk = [&](const TBitmap& b) {
        const std::vector<bool> c = InkColumns(b, top, bottom);
        return int(std::find(c.rbegin(), c.rend(), true) - c.rbegin());
    };
    EXPECT_GT(lastInk(*whole), lastInk(*held) + 4); // more paper right of the shorter line
}

TEST(NotePicture, ScalesWithTheScreensDpi) {
    TBitmap bitmap;
    RenderNotePicture(WideLineList(L"Scaled note"), bitmap,
                      NotePlacementFor(WholeScreen(1920, 1080, 144)));
    EXPECT_EQ(bitmap.Width(), 525);
    EXPECT_EQ(bitmap.Height(), 450);
    const Ink big = FindInk(bitmap), small = InkOf(L"Scaled note");
    EXPECT_GE(big.left, 15);
    EXPECT_GE(big.top, 30);
    const int bigHeight = big.bottom - big.top, smallHeight = small.bottom - small.top;
    EXPECT_GE(bigHeight * 4, smallHeight * 5);
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
