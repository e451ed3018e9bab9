// Layout geometry at 120, 144, 168 and 192 DPI (125 % to 200 %): lengths
// round to the nearest pixel, edges that meet at 96 DPI still meet, children
// stay in their parents and nothing leaves the window.
#include "base/DisplayScale.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

#include <array>

namespace tabulon {
namespace {

constexpr std::array<int, 4> kDpis{120, 144, 168, 192};

TEST(ScaleLength, RoundsToTheNearestPixelHalvesAwayFromZero) {
    EXPECT_EQ(ScaleLength(584, 96), 584);
    EXPECT_EQ(ScaleLength(584, 120), 730);
    EXPECT_EQ(ScaleLength(382, 120), 478); // 477.5
    EXPECT_EQ(ScaleLength(382, 144), 573);
    EXPECT_EQ(ScaleLength(39, 144), 59);   // 58.5
    EXPECT_EQ(ScaleLength(382, 168), 669); // 668.5
    EXPECT_EQ(ScaleLength(584, 192), 1168);
    EXPECT_EQ(ScaleLength(1, 120), 1);     // 1.25
    EXPECT_EQ(ScaleLength(3, 120), 4);     // 3.75
    EXPECT_EQ(ScaleLength(-11, 120), -14); // -13.75
    EXPECT_EQ(ScaleLength(-2, 144), -3);   // -3.0
    EXPECT_EQ(ScaleLength(-1, 144), -2);   // -1.5, away from zero
    EXPECT_EQ(ScaleLength(0, 192), 0);
}

TEST(ScaleLength, BadDpiCountsAsDesignDpi) {
    EXPECT_EQ(ScaleLength(584, 0), 584);
    EXPECT_EQ(ScaleLength(-7, -120), -7);
}

TEST(ScaleLineWidth, RoundsUp) {
    EXPECT_EQ(ScaleLineWidth(1, 96), 1);
    EXPECT_EQ(ScaleLineWidth(1, 97), 2);
    EXPECT_EQ(ScaleLineWidth(1, 120), 2);
    EXPECT_EQ(ScaleLineWidth(1, 192), 2);
    EXPECT_EQ(ScaleLineWidth(1, 193), 3);
    EXPECT_EQ(ScaleLineWidth(3, 144), 5); // 4.5
    EXPECT_EQ(ScaleLineWidth(0, 144), 0);
    EXPECT_EQ(ScaleLineWidth(1, 0), 1);
}

TEST(ScaleFontHeight, ScalesAndKeepsAtLeastOnePixel) {
    EXPECT_EQ(ScaleFontHeight(11, 120), 14); // 13.75
    EXPECT_EQ(ScaleFontHeight(12, 144), 18);
    EXPECT_EQ(ScaleFontHeight(15, 168), 26); // 26.25
    EXPECT_EQ(ScaleFontHeight(15, 192), 30);
    EXPECT_EQ(ScaleFontHeight(1, 40), 1); // 0.42 would vanish
    EXPECT_EQ(ScaleFontHeight(0, 192), 0);
}

// The main window's boxes at 96 DPI: border, background, caption buttons,
// panels with their children, the editor.
struct Named {
    const char* name;
    LayoutBox box;
};
const Named kMain[] = {
    {"shpBG", {0, 0, 584, 382, -1}},           {"imgBG", {1, 1, 582, 380, -1}},
    {"imgLogo", {10, 19, 200, 57, -1}},        {"img_close_normal", {544, 1, 39, 20, -1}},
    {"img_mini_normal", {515, 1, 28, 20, -1}}, {"img_mini_highlight", {514, 1, 28, 20, -1}},
    {"imgAppToDesk", {488, 45, 84, 29, -1}},   {"btn4", {261, 56, 23, 22, -1}},
    {"btn3", {237, 56, 23, 22, -1}},           {"pnlLeft", {8, 80, 196, 289, -1}},
    {"shpLeft", {0, 0, 196, 289, 9}},          {"pnlWeb", {1, 1, 192, 185, 9}},
    {"pngRight", {216, 80, 361, 289, -1}},     {"shpRight", {0, 0, 361, 289, 12}},
    {"rdtMain", {2, 1, 358, 287, 12}},
};

std::vector<LayoutBox> MainBoxes() {
    std::vector<LayoutBox> boxes;
    for (const Named& n : kMain)
        boxes.push_back(n.box);
    return boxes;
}

// A box's rectangle in form coordinates.
struct Rect {
    int left, top, right, bottom;
};
std::vector<Rect> Absolute(const std::vector<LayoutBox>& boxes) {
    std::vector<Rect> out;
    for (const LayoutBox& b : boxes) {
        const Rect p = b.parent < 0 ? Rect{0, 0, 0, 0} : out[size_t(b.parent)];
        out.push_back(
            {p.left + b.left, p.top + b.top, p.left + b.left + b.width, p.top + b.top + b.height});
    }
    return out;
}

TEST(ScaleLayoutBoxes, AtDesignDpiNothingMoves) {
    const auto boxes = MainBoxes();
    EXPECT_EQ(ScaleLayoutBoxes(boxes, 96), boxes);
}

TEST(ScaleLayoutBoxes, MainWindowAt144Dpi) {
    const auto scaled = ScaleLayoutBoxes(MainBoxes(), 144);
    // Worked out by hand: every edge times 1.5, halves rounded up.
    EXPECT_EQ(scaled[0], (LayoutBox{0, 0, 876, 573, -1}));
    EXPECT_EQ(scaled[1], (LayoutBox{2, 2, 873, 570, -1}));      // 1.5 .. 874.5 and 571.5
    EXPECT_EQ(scaled[3], (LayoutBox{816, 2, 59, 30, -1}));      // 816 .. 875, 2 .. 32
    EXPECT_EQ(scaled[4], (LayoutBox{773, 2, 42, 30, -1}));      // 772.5 .. 814.5
    EXPECT_EQ(scaled[9], (LayoutBox{12, 120, 294, 434, -1}));   // 12 .. 306, 120 .. 553.5
    EXPECT_EQ(scaled[11], (LayoutBox{2, 2, 288, 277, 9}));      // 13.5 .. 301.5, 121.5 .. 399
    EXPECT_EQ(scaled[12], (LayoutBox{324, 120, 542, 434, -1})); // 324 .. 865.5
    EXPECT_EQ(scaled[14], (LayoutBox{3, 2, 537, 430, 12}));     // 327 .. 864, 121.5 .. 552
}

TEST(ScaleLayoutBoxes, MainWindowAt120Dpi) {
    const auto scaled = ScaleLayoutBoxes(MainBoxes(), 120);
    EXPECT_EQ(scaled[0], (LayoutBox{0, 0, 730, 478, -1}));
    EXPECT_EQ(scaled[3], (LayoutBox{680, 1, 49, 25, -1}));  // 680 .. 728.75, 1.25 .. 26.25
    EXPECT_EQ(scaled[4], (LayoutBox{644, 1, 35, 25, -1}));  // 643.75 .. 678.75
    EXPECT_EQ(scaled[14], (LayoutBox{3, 1, 447, 359, 12})); // 272.5 .. 720, 101.25 .. 460
}

// Edges that meet at 96 DPI meet at every scale: every pair of boxes that
// touch or share an edge does so afterwards, in form coordinates.
TEST(ScaleLayoutBoxes, EdgesThatMeetStillMeet) {
    const auto design = Absolute(MainBoxes());
    for (int dpi : kDpis) {
        const auto scaled = Absolute(ScaleLayoutBoxes(MainBoxes(), dpi));
        int pairs = 0;
        for (size_t a = 0; a < design.size(); ++a)
            for (size_t b = 0; b < design.size(); ++b) {
                const Rect &da = design[a], &db = design[b];
                const Rect &sa = scaled[a], &sb = scaled[b];
                auto same = [&](int x, int y, int sx, int sy) {
                    if (x != y) return;
                    ++pairs;
                    EXPECT_EQ(sx, sy) << kMain[a].name << " / " << kMain[b].name << " at " << dpi;
                };
                same(da.right, db.left, sa.right, sb.left);
                same(da.bottom, db.top, sa.bottom, sb.top);
                same(da.left, db.left, sa.left, sb.left);
                same(da.right, db.right, sa.right, sb.right);
                same(da.top, db.top, sa.top, sb.top);
                same(da.bottom, db.bottom, sa.bottom, sb.bottom);
            }
        // The close button meets the minimise button and the border's inner
        // edge; the panels' children fill their panels: plenty of pairs.
        EXPECT_GT(pairs, 40);
    }
}

// The border is an outline of ScaleLineWidth(1) pixels under the background:
// at every scale it shows on all four sides and leaves no gap between itself
// and the background; the close button ends where the background ends.
TEST(ScaleLayoutBoxes, TheBorderMeetsTheBackgroundOnEverySide) {
    for (int dpi : kDpis) {
        const auto s = Absolute(ScaleLayoutBoxes(MainBoxes(), dpi));
        const int pen = ScaleLineWidth(1, dpi);
        for (int gap : {s[1].left - s[0].left, s[1].top - s[0].top, s[0].right - s[1].right,
                        s[0].bottom - s[1].bottom}) {
            EXPECT_GE(gap, 1) << dpi;
            EXPECT_LE(gap, pen) << dpi;
        }
        EXPECT_EQ(s[3].right, s[1].right) << dpi;
        EXPECT_EQ(s[3].top, s[1].top) << dpi;
    }
}

TEST(ScaleLayoutBoxes, NothingLeavesTheWindowOrItsParent) {
    for (int dpi : kDpis) {
        const auto boxes = ScaleLayoutBoxes(MainBoxes(), dpi);
        const auto abs = Absolute(boxes);
        const Rect window = abs[0];
        EXPECT_EQ(window.right, ScaleLength(584, dpi));
        EXPECT_EQ(window.bottom, ScaleLength(382, dpi));
        for (size_t i = 0; i < abs.size(); ++i) {
            const Rect outer = boxes[i].parent < 0 ? window : abs[size_t(boxes[i].parent)];
            EXPECT_GE(abs[i].left, outer.left) << kMain[i].name << " at " << dpi;
            EXPECT_GE(abs[i].top, outer.top) << kMain[i].name << " at " << dpi;
            EXPECT_LE(abs[i].right, outer.right) << kMain[i].name << " at " << dpi;
            EXPECT_LE(abs[i].bottom, outer.bottom) << kMain[i].name << " at " << dpi;
            EXPECT_GT(boxes[i].width, 0);
            EXPECT_GT(boxes[i].height, 0);
        }
    }
}

// A child laid at an odd offset keeps its own rounding in form coordinates:
// scaling its parent-relative numbers alone would drift by a pixel.
TEST(ScaleLayoutBoxes, ChildrenRoundInFormCoordinates) {
    const LayoutBox boxes[] = {{1, 1, 10, 10, -1}, {1, 1, 9, 9, 0}};
    const auto s = ScaleLayoutBoxes(boxes, 144);
    // Parent 1.5 .. 16.5 -> 2 .. 17; child 3 .. 16.5 -> 3 .. 17, i.e. 1 in the parent.
    EXPECT_EQ(s[0], (LayoutBox{2, 2, 15, 15, -1}));
    EXPECT_EQ(s[1], (LayoutBox{1, 1, 14, 14, 0}));
}

TEST(ScaleLayoutBoxes, NegativeOffsetsAndOversizedChildren) {
    // The web panel's browser: shifted up and left, much larger than its panel.
    const LayoutBox boxes[] = {{9, 81, 192, 185, -1}, {-11, -16, 2000, 841, 0}};
    const auto s = ScaleLayoutBoxes(boxes, 120);
    // Parent 11.25 .. 251.25, 101.25 .. 332.5; child -2.5 .. 2497.5, 81.25 .. 1132.5.
    EXPECT_EQ(s[0], (LayoutBox{11, 101, 240, 232, -1}));
    EXPECT_EQ(s[1], (LayoutBox{-14, -20, 2501, 1052, 0}));
}

TEST(ScaleLayoutBoxes, RejectsAParentThatIsNotEarlier) {
    const LayoutBox self[] = {{0, 0, 1, 1, 0}};
    const LayoutBox later[] = {{0, 0, 1, 1, 1}, {0, 0, 1, 1, -1}};
    const LayoutBox negative[] = {{0, 0, 1, 1, -2}};
    EXPECT_THROW(ScaleLayoutBoxes(self, 120), Exception);
    EXPECT_THROW(ScaleLayoutBoxes(later, 120), Exception);
    EXPECT_THROW(ScaleLayoutBoxes(negative, 120), Exception);
    EXPECT_TRUE(ScaleLayoutBoxes(std::span<const LayoutBox>{}, 144).empty());
}

TEST(PageZoomPercent, BringsTheSystemScaleToTheWindows) {
    EXPECT_EQ(PageZoomPercent(96, 96), 100);
    EXPECT_EQ(PageZoomPercent(144, 96), 150);
    EXPECT_EQ(PageZoomPercent(120, 96), 125);
    EXPECT_EQ(PageZoomPercent(96, 144), 67);   // 66.67
    EXPECT_EQ(PageZoomPercent(168, 144), 117); // 116.67
    EXPECT_EQ(PageZoomPercent(120, 144), 83);  // 83.33
    EXPECT_EQ(PageZoomPercent(192, 120), 160);
    EXPECT_EQ(PageZoomPercent(0, 96), 100);
    EXPECT_EQ(PageZoomPercent(144, -1), 100);
}

TEST(NearestScaleVariant, PicksTheNearestAndTheLargerOnATie) {
    const int variants[] = {100, 150, 200};
    EXPECT_EQ(NearestScaleVariant(variants, 96), 0);
    EXPECT_EQ(NearestScaleVariant(variants, 110), 0);
    EXPECT_EQ(NearestScaleVariant(variants, 120), 1); // 125 %: halfway, the larger
    EXPECT_EQ(NearestScaleVariant(variants, 144), 1);
    EXPECT_EQ(NearestScaleVariant(variants, 168), 2); // 175 %: halfway, the larger
    EXPECT_EQ(NearestScaleVariant(variants, 192), 2);
    EXPECT_EQ(NearestScaleVariant(variants, 288), 2); // 300 %: beyond the largest
    EXPECT_EQ(NearestScaleVariant(variants, 72), 0);
    const int unordered[] = {200, 100};
    EXPECT_EQ(NearestScaleVariant(unordered, 96), 1);
    EXPECT_EQ(NearestScaleVariant(std::span<const int>{}, 96), -1);
}

} // namespace
} // namespace tabulon
