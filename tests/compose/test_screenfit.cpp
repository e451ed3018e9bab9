// The fit of a background to the screen and the note's place on it, for the
// screens people have: sizes, DPI scales and a taskbar on each edge.
#include "base/DisplayScale.h"
#include "compose/ScreenFit.h"
#include "compose/Resample.h"

#include <gtest/gtest.h>

// stb_image_resize, a kept library, is the oracle for the resampler: same
// filters (Catmull-Rom enlarging, Mitchell reducing), in floating point.
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb_image_resize.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include <vector>

namespace tabulon {
namespace {

TEST(ScreenFit, ScalesToCoverAndCropsTheOverflowEvenly) {
    struct Case {
        int w, h;
        double scale, cropX, cropY;
    };
    // The shipped 1920 x 1080 background on each screen, worked out by hand:
    // 1200/1080 = 1.1111 leaves (2133.33 - 1920) / 2 on each side; 2560/1920 =
    // 1.3333 leaves (1440 - 1080) / 2 above and below; 1366/1920 = 0.711458
    // beats 768/1080 = 0.711111 and leaves (768.375 - 768) / 2.
    for (const Case& c : {Case{1920, 1080, 1, 0, 0}, Case{1920, 1200, 1.111111, 106.6667, 0},
                          Case{2560, 1080, 1.333333, 0, 180}, Case{1366, 768, 0.711458, 0, 0.1875},
                          Case{3840, 2160, 2, 0, 0}}) {
        const FillCrop fit = FillCropFor(1920, 1080, c.w, c.h);
        EXPECT_NEAR(fit.scale, c.scale, 1e-6) << c.w << "x" << c.h;
        EXPECT_NEAR(fit.cropX, c.cropX, 1e-4) << c.w << "x" << c.h;
        EXPECT_NEAR(fit.cropY, c.cropY, 1e-4) << c.w << "x" << c.h;
    }
    // A portrait picture on a landscape screen is cropped at top and bottom.
    const FillCrop tall = FillCropFor(100, 400, 200, 100);
    EXPECT_DOUBLE_EQ(tall.scale, 2);
    EXPECT_DOUBLE_EQ(tall.cropY, 350);
    // Nothing to fit gives the identity, never a division by zero.
    EXPECT_DOUBLE_EQ(FillCropFor(0, 10, 100, 100).scale, 1);
}

TEST(ScreenFit, ScalingToDpiRoundsHalvesUp) {
    EXPECT_EQ(ScaleLength(350, 96), 350);
    EXPECT_EQ(ScaleLength(350, 120), 438); // 437.5
    EXPECT_EQ(ScaleLength(402, 120), 503); // 502.5
    EXPECT_EQ(ScaleLength(300, 144), 450);
    EXPECT_EQ(ScaleLength(52, 192), 104);
    EXPECT_EQ(ScaleLength(-10, 120), -13); // -12.5
}

// The note at s = 1, 1.25, 1.5 and 2: its size, font and offsets from the
// top-right corner of the work area, worked out by hand.
struct Scaled {
    int dpi, width, height, fromRight, top, font;
    ScreenRect text;
};
const Scaled kScales[] = {
    {96, 350, 300, 402, 30, 13, {10, 20, 340, 310}},  // 10 pt = 13.33 px
    {120, 438, 375, 503, 38, 17, {13, 25, 425, 388}}, // 16.67 px
    {144, 525, 450, 603, 45, 20, {15, 30, 510, 465}},
    {192, 700, 600, 804, 60, 27, {20, 40, 680, 620}}, // 26.67 px
};

TEST(ScreenFit, NoteSizeFontAndTextAreaFollowTheScale) {
    for (const Scaled& s : kScales) {
        const NotePlacement note = NotePlacementFor(WholeScreen(1920, 1080, s.dpi));
        EXPECT_EQ(note.width, s.width) << s.dpi;
        EXPECT_EQ(note.height, s.height) << s.dpi;
        EXPECT_EQ(note.fontHeight, s.font) << s.dpi;
        EXPECT_EQ(note.textArea, s.text) << s.dpi;
        EXPECT_EQ(note.x, 1920 - s.fromRight) << s.dpi;
        EXPECT_EQ(note.y, s.top) << s.dpi;
    }
}

TEST(ScreenFit, NoteStaysInsideTheWorkAreaWithItsMargins) {
    const int sizes[][2] = {{1920, 1080}, {1920, 1200}, {2560, 1080}, {1366, 768}, {3840, 2160}};
    enum Edge { None, Bottom, Top, Left, Right };
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        for (const Scaled& s : kScales) {
            const int bar = ScaleLength(40, s.dpi); // a taskbar 40 px high at 100 %
            for (Edge edge : {None, Bottom, Top, Left, Right}) {
                Screen screen = WholeScreen(w, h, s.dpi);
                ScreenRect& work = screen.workArea;
                if (edge == Bottom) work.bottom -= bar;
                if (edge == Top) work.top += bar;
                if (edge == Left) work.left += bar;
                if (edge == Right) work.right -= bar;
                const NotePlacement note = NotePlacementFor(screen);
                SCOPED_TRACE(testing::Message()
                             << w << "x" << h << " dpi " << s.dpi << " edge " << int(edge));
                // 52 px (scaled) inside the work area's right edge, give or
                // take the rounding of the two scaled parts; 30 below its top.
                EXPECT_EQ(note.x, work.right - s.fromRight);
                EXPECT_EQ(note.y, work.top + s.top);
                EXPECT_GE(note.x, work.left);
                EXPECT_LE(note.x + note.width, work.right - ScaleLength(52, s.dpi) + 1);
                EXPECT_LE(note.y + note.height, work.bottom);
            }
        }
    }
}

TEST(ScreenFit, NarrowWorkAreaKeepsTheNoteAtItsLeftEdge) {
    Screen screen = WholeScreen(800, 600);
    screen.workArea.left = 500;
    EXPECT_EQ(NotePlacementFor(screen).x, 500);
}

// A 24-bit picture whose pixels are given by a function, rows padded.
struct Picture {
    int width, height;
    size_t stride;
    std::vector<uint8_t> bytes;
    Picture(int w, int h, uint32_t (*pixel)(int, int))
        : width(w), height(h), stride((size_t(w) * 3 + 3) & ~size_t(3)), bytes(stride * h, 0xEE) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Set(x, y, pixel(x, y));
    }
    void Set(int x, int y, uint32_t c) {
        uint8_t* p = bytes.data() + size_t(y) * stride + size_t(x) * 3;
        p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
    }
    uint32_t At(int x, int y) const {
        const uint8_t* p = bytes.data() + size_t(y) * stride + size_t(x) * 3;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
};

Picture Fit(const Picture& in, int w, int h) {
    Picture out(w, h, [](int, int) { return 0u; });
    EXPECT_TRUE(FitToCover(in.bytes.data(), in.width, in.height, in.stride, out.bytes.data(), w, h,
                           out.stride));
    return out;
}

uint32_t Coded(int x, int y) {
    return uint32_t(x) << 12 | uint32_t(y);
}

TEST(ScreenFit, PictureOfTheScreensSizeIsCopiedUnchanged) {
    const Picture in(37, 21, Coded);
    const Picture out = Fit(in, 37, 21);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(out.At(x, y), Coded(x, y));
}

TEST(ScreenFit, PictureThatOnlyNeedsCroppingIsCroppedNotFiltered) {
    const Picture in(100, 100, Coded);
    const Picture wide = Fit(in, 100, 50); // rows 25 to 74
    const Picture tall = Fit(in, 51, 100); // columns 24 to 74 (24.5 cut down)
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(wide.At(x, y), Coded(x, y + 25));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 51; ++x)
            ASSERT_EQ(tall.At(x, y), Coded(x + 24, y));
}

TEST(ScreenFit, EnlargedPictureKeepsFlatColoursAndLandsWhereTheCropSays) {
    // Black left half, white right half, 160 x 90 on a 1920 x 1200 screen:
    // scale 13.333, 106.67 px cropped on the left, so the edge at x = 80
    // lands at 80 * 13.333 - 106.67 = 960.
    const Picture in(160, 90, [](int x, int) { return x < 80 ? 0x000000u : 0xFFFFFFu; });
    const Picture out = Fit(in, 1920, 1200);
    for (int y : {0, 600, 1199}) {
        EXPECT_EQ(out.At(0, y), 0x000000u);
        EXPECT_EQ(out.At(900, y), 0x000000u);
        EXPECT_EQ(out.At(1020, y), 0xFFFFFFu);
        EXPECT_EQ(out.At(1919, y), 0xFFFFFFu);
        EXPECT_LT(out.At(950, y) & 0xFF, 0x80u);
        EXPECT_GT(out.At(970, y) & 0xFF, 0x80u);
    }
    // One pixel fills any screen with its colour.
    const Picture dot(1, 1, [](int, int) { return 0x25C85Au; });
    const Picture filled = Fit(dot, 300, 200);
    for (int y = 0; y < 200; y += 7)
        for (int x = 0; x < 300; x += 7)
            ASSERT_EQ(filled.At(x, y), 0x25C85Au);
}

TEST(ScreenFit, ReducedPictureAveragesWithoutShifting) {
    // Columns alternate black and white: reduced to half, every pixel is grey.
    const Picture in(400, 200, [](int x, int) { return x % 2 ? 0xFFFFFFu : 0u; });
    const Picture out = Fit(in, 200, 100);
    for (int x = 2; x < 198; ++x) {
        const uint32_t c = out.At(x, 50) & 0xFF;
        EXPECT_NEAR(double(c), 127.5, 2) << x;
    }
}

TEST(ScreenFit, AgreesWithStbImageResize) {
    // A picture with smooth parts and hard edges, enlarged and reduced onto
    // screens of other shapes.
    const Picture in(301, 173, [](int x, int y) {
        const uint32_t b = uint32_t((x * 5 + y * 3) & 255);
        const uint32_t g = (x / 20 + y / 20) % 2 ? 230u : 20u;
        const uint32_t r = uint32_t((x * y / 7) & 255);
        return r << 16 | g << 8 | b;
    });
    struct Case {
        int w, h;
    };
    for (const Case& c : {Case{640, 400}, Case{517, 173}, Case{200, 90}, Case{90, 120}}) {
        const Picture ours = Fit(in, c.w, c.h);
        const FillCrop fit = FillCropFor(in.width, in.height, c.w, c.h);
        Picture theirs(c.w, c.h, [](int, int) { return 0u; });
        ASSERT_TRUE(stbir_resize_subpixel(
            in.bytes.data(), in.width, in.height, int(in.stride), theirs.bytes.data(), c.w, c.h,
            int(theirs.stride), STBIR_TYPE_UINT8, 3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
            STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR,
            nullptr, float(fit.scale), float(fit.scale), float(fit.cropX), float(fit.cropY)));
        int worst = 0;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                for (int shift = 0; shift < 24; shift += 8)
                    worst = std::max(worst, std::abs(int((ours.At(x, y) >> shift) & 255) -
                                                     int((theirs.At(x, y) >> shift) & 255)));
        EXPECT_LE(worst, 2) << c.w << "x" << c.h;
    }
}

TEST(ScreenFit, ProcessorKernelsGiveThePlainKernelsResultsToTheBit) {
    // The kernels this processor runs (SSE2 on any x86 of today) against the
    // ones for every processor, on random pictures and on pictures of only
    // black and white (whose hard edges drive the filters' negative lobes
    // past 0 and 255), enlarged and reduced at the scales of real screens and
    // at sizes down to a pixel. Input rows are packed with nothing after the
    // last one, so a read past a row's end shows under the address sanitizer.
    struct Case {
        int inW, inH;
        double scale;
    };
    std::mt19937 random(14);
    for (const Case& c :
         {Case{64, 37, 2}, Case{61, 29, 1.333333}, Case{83, 41, 1.111111}, Case{97, 53, 0.711458},
          Case{90, 47, 0.5}, Case{53, 31, 0.6}, Case{1, 1, 2}, Case{1, 1, 0.5}, Case{3, 2, 2},
          Case{3, 2, 0.711458}, Case{7, 5, 1.333333}, Case{7, 9, 0.5}, Case{5, 3, 13.333333},
          Case{7, 200, 1.111111}}) {
        for (const bool extremes : {false, true}) {
            std::vector<uint8_t> in(size_t(c.inW) * size_t(c.inH) * 3);
            for (uint8_t& v : in)
                v = extremes ? uint8_t(random() % 2 * 255) : uint8_t(random());
            // Centred crops as the fit makes them: a fraction of a pixel,
            // or a tenth of the scaled picture on each side.
            const double cropX =
                (random() % 2 ? 0.1 * c.inW * c.scale : 0) + random() % 100 / 100.0;
            const double cropY =
                (random() % 2 ? 0.1 * c.inH * c.scale : 0) + random() % 100 / 100.0;
            const int outW = std::max(1, int(std::floor(c.inW * c.scale - 2 * cropX)));
            const int outH = std::max(1, int(std::floor(c.inH * c.scale - 2 * cropY)));
            const size_t stride = size_t(outW) * 3 + 5; // the spare bytes must stay untouched
            std::vector<uint8_t> fast(stride * size_t(outH), 0xA5), plain(fast);
            ASSERT_TRUE(ResampleBgr(in.data(), c.inW, c.inH, size_t(c.inW) * 3, fast.data(), outW,
                                    outH, stride, c.scale, cropX, cropY));
            ASSERT_TRUE(ResampleBgrPlain(in.data(), c.inW, c.inH, size_t(c.inW) * 3, plain.data(),
                                         outW, outH, stride, c.scale, cropX, cropY));
            size_t differ = 0;
            for (size_t i = 0; i < fast.size(); ++i)
                differ += fast[i] != plain[i];
            EXPECT_EQ(differ, 0u) << c.inW << "x" << c.inH << " at " << c.scale
                                  << (extremes ? ", black and white" : ", random");
            for (int y = 0; y < outH; ++y)
                for (size_t i = size_t(outW) * 3; i < stride; ++i)
                    ASSERT_EQ(fast[size_t(y) * stride + i], 0xA5) << "row " << y;
        }
    }
}

TEST(ScreenFit, NothingToFitIsRefused) {
    uint8_t pixel[4] = {};
    EXPECT_FALSE(FitToCover(pixel, 0, 1, 4, pixel, 1, 1, 4));
    EXPECT_FALSE(FitToCover(pixel, 1, 1, 4, pixel, 1, 0, 4));
}

} // namespace
} // namespace tabulon
