// The user's picture as the desktop shows it, for each position: where it
// lies on the primary monitor (worked out by hand), and what is painted.
#include "compose/WallpaperLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace tabulon {
namespace {

using P = WallpaperPosition;

TEST(WallpaperLayout, PlacesThePictureAsTheDesktopShowsIt) {
    struct Case {
        P position;
        int w, h, screenW, screenH;
        ScreenRect desktop;
        ScreenRect want;
        bool tiled;
    };
    const Case cases[] = {
        // Fill: 1024/1024 beats 1280/1600, so 1600 x 1024 with 320 cropped evenly.
        {P::Fill, 1600, 1024, 1280, 1024, {}, {-160, 0, 1440, 1024}, false},
        // One pixel more: the odd pixel goes to the left.
        {P::Fill, 1601, 1024, 1280, 1024, {}, {-161, 0, 1440, 1024}, false},
        // A phone photo: 1920/6000 = 0.32 covers, 4000 x 0.32 = 1280, 200 cropped.
        {P::Fill, 6000, 4000, 1920, 1080, {}, {0, -100, 1920, 1180}, false},
        // 768/333 x 1000 = 2306.3 rounds to 2306; (1366 - 2306) / 2 = -470.
        {P::Fill, 1000, 333, 1366, 768, {}, {-470, 0, 1836, 768}, false},
        // Fit: 1280/1280 is the smaller ratio; 800 high, 224 of colour split.
        {P::Fit, 1280, 800, 1280, 1024, {}, {0, 112, 1280, 912}, false},
        // Portrait on landscape: 1080/400 x 300 = 810 wide, (1920 - 810) / 2 = 555.
        {P::Fit, 300, 400, 1920, 1080, {}, {555, 0, 1365, 1080}, false},
        // The screen's own shape: exactly the screen.
        {P::Fit, 640, 512, 1280, 1024, {}, {0, 0, 1280, 1024}, false},
        {P::Center, 800, 600, 1280, 1024, {}, {240, 212, 1040, 812}, false},
        {P::Center, 801, 601, 1280, 1024, {}, {239, 211, 1040, 812}, false},
        // Larger than the screen: cropped around the middle.
        {P::Center, 1400, 1100, 1280, 1024, {}, {-60, -38, 1340, 1062}, false},
        {P::Stretch, 640, 480, 1920, 1080, {}, {0, 0, 1920, 1080}, false},
        {P::Tile, 300, 200, 1920, 1080, {}, {0, 0, 300, 200}, true},
        // Span over a second 1280 x 1024 monitor on the left: 2560 x 1024 is
        // covered by 1024/600 x 1600 = 2730.7 -> 2731 wide, 86 cropped on the
        // left of the whole desktop, which starts 1280 left of this monitor.
        {P::Span, 1600, 600, 1280, 1024, {-1280, 0, 1280, 1024}, {-1366, 0, 1365, 1024}, false},
        // Span on one monitor is Fill.
        {P::Span, 1600, 1024, 1280, 1024, {}, {-160, 0, 1440, 1024}, false},
        // Nothing to lay out.
        {P::Fill, 0, 1024, 1280, 1024, {}, {}, false},
    };
    for (const Case& c : cases) {
        const PictureLayout got =
            LayOutWallpaper(c.position, c.w, c.h, c.screenW, c.screenH, c.desktop);
        EXPECT_EQ(got, (PictureLayout{c.want, c.tiled}))
            << int(c.position) << ": " << c.w << "x" << c.h << " on " << c.screenW << "x"
            << c.screenH << " gave " << got.picture.left << "," << got.picture.top << ","
            << got.picture.right << "," << got.picture.bottom;
    }
}

// Pictures of a few pixels, painted at 3 bytes a pixel with no row padding.
struct Pixels {
    int w, h;
    std::vector<uint8_t> bytes;
    Pixels(int width, int height, uint32_t fill = 0)
        : w(width), h(height), bytes(size_t(width * height) * 3) {
        for (int i = 0; i < w * h; ++i)
            Set(i % w, i / w, fill);
    }
    void Set(int x, int y, uint32_t bgr) {
        uint8_t* p = &bytes[size_t(y * w + x) * 3];
        p[0] = uint8_t(bgr >> 16), p[1] = uint8_t(bgr >> 8), p[2] = uint8_t(bgr);
    }
    uint32_t At(int x, int y) const {
        const uint8_t* p = &bytes[size_t(y * w + x) * 3];
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
};

TEST(WallpaperLayout, PaintsColourAroundAndThePictureWhereItLies) {
    const uint32_t colour = 0x112233, red = 0x0000FF, blue = 0xFF0000, grey = 0x646464;
    Pixels redBlue(2, 1);
    redBlue.Set(0, 0, red);
    redBlue.Set(1, 0, blue);
    auto paint = [&](const Pixels& in, P position, int w, int h) {
        Pixels out(w, h, 0xABCDEF);
        EXPECT_TRUE(PaintWallpaper(in.bytes.data(), in.w, in.h, size_t(in.w) * 3,
                                   LayOutWallpaper(position, in.w, in.h, w, h), colour,
                                   out.bytes.data(), w, h, size_t(w) * 3));
        return out;
    };
    // Centre on 4 x 3: the two pixels at (1, 1) and (2, 1), colour elsewhere.
    const Pixels centred = paint(redBlue, P::Center, 4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(centred.At(x, y), y == 1 && x == 1   ? red
                                        : y == 1 && x == 2 ? blue
                                                           : colour)
                << x << "," << y;
    // Tile on 3 x 2: red blue red on both rows.
    const Pixels tiles = paint(redBlue, P::Tile, 3, 2);
    for (int y = 0; y < 2; ++y)
        EXPECT_EQ((std::vector<uint32_t>{tiles.At(0, y), tiles.At(1, y), tiles.At(2, y)}),
                  (std::vector<uint32_t>{red, blue, red}));
    // Fill at scale 1 crops without filtering: 4 pixels on 2 keep the middle two.
    Pixels four(4, 1);
    for (int x = 0; x < 4; ++x)
        four.Set(x, 0, uint32_t(10 * (x + 1)));
    const Pixels cropped = paint(four, P::Fill, 2, 1);
    EXPECT_EQ(cropped.At(0, 0), 20u);
    EXPECT_EQ(cropped.At(1, 0), 30u);
    // Stretch scales each axis on its own and leaves no colour: a plain grey
    // picture stays plain grey.
    const Pixels stretched = paint(Pixels(2, 2, grey), P::Stretch, 6, 3);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(stretched.At(i % 6, i / 6), grey) << i;
}

} // namespace
} // namespace tabulon
