// Where the main window opens: inside one monitor's work area.
#include "base/Placement.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

bool Inside(const TRect& r, const TRect& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
           r.bottom <= area.bottom;
}

TEST(Placement, CentresInTheWorkAreaOfOneMonitor) {
    // 1920 x 1080 with a 40-pixel taskbar at the bottom.
    const TRect work{0, 0, 1920, 1040};
    const TRect r = CentreInWorkArea(work, 584, 382);
    EXPECT_EQ(r.left, 668);
    EXPECT_EQ(r.top, 329);
    EXPECT_EQ(r.Width(), 584);
    EXPECT_EQ(r.Height(), 382);
}

TEST(Placement, SecondMonitorToTheLeftAndAboveHasNegativeCoordinates) {
    // A 1280 x 1024 monitor left of the primary, its top 200 pixels higher,
    // taskbar on its left edge (60 pixels).
    const TRect work{-1220, -200, 0, 824};
    const TRect r = CentreInWorkArea(work, 584, 382);
    EXPECT_EQ(r.left, -1220 + 318);
    EXPECT_EQ(r.top, -200 + 321);
    EXPECT_TRUE(Inside(r, work));
}

TEST(Placement, NeverStraddlesTheSeamOfTwoMonitors) {
    // The old rule centred on the bounding box of both monitors, which puts
    // a 584-pixel window across the seam at x 1280 of two 1280-wide screens.
    const TRect left{0, 0, 1280, 1024}, right{1280, 0, 2560, 1024};
    for (const TRect& work : {left, right}) {
        const TRect r = CentreInWorkArea(work, 584, 382);
        EXPECT_TRUE(Inside(r, work)) << r.left << "," << r.top;
    }
}

TEST(Placement, AWindowLargerThanTheWorkAreaKeepsItsTopLeftCornerOnIt) {
    const TRect work{100, 50, 600, 450}; // 500 x 400
    const TRect wide = CentreInWorkArea(work, 584, 382);
    EXPECT_EQ(wide.left, 100);
    EXPECT_EQ(wide.top, 59);
    const TRect tall = CentreInWorkArea(work, 300, 500);
    EXPECT_EQ(tall.left, 200);
    EXPECT_EQ(tall.top, 50);
}

TEST(Placement, OddLeftoverPixelsGoToTheRightAndBottom) {
    const TRect r = CentreInWorkArea(TRect{0, 0, 101, 51}, 10, 10);
    EXPECT_EQ(r.left, 45);
    EXPECT_EQ(r.top, 20);
}

} // namespace
} // namespace tabulon
