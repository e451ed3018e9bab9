// The resampler that fits skin pictures to a scaled control.
#include "base/Exception.h"
#include "base/Resample.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

std::vector<uint8_t> Filled(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::vector<uint8_t> p(size_t(w) * size_t(h) * 4);
    for (size_t i = 0; i < p.size(); i += 4) {
        p[i] = r;
        p[i + 1] = g;
        p[i + 2] = b;
        p[i + 3] = a;
    }
    return p;
}

TEST(ResampleRgba, AFlatColourStaysExactlyThatColour) {
    // The window background is one flat colour: it must not pick up a tint.
    const auto out = ResampleRgba(Filled(416, 289, 0xD8, 0xE3, 0xF3, 255), 416, 289, 728, 476);
    ASSERT_EQ(out.size(), size_t(728) * 476 * 4);
    for (size_t i = 0; i < out.size(); i += 4) {
        ASSERT_EQ(out[i], 0xD8) << i;
        ASSERT_EQ(out[i + 1], 0xE3) << i;
        ASSERT_EQ(out[i + 2], 0xF3) << i;
        ASSERT_EQ(out[i + 3], 255) << i;
    }
}

TEST(ResampleRgba, TransparentPixelsLendNoColour) {
    // Left half fully transparent red, right half opaque blue: every pixel
    // of the result that shows anything shows pure blue.
    std::vector<uint8_t> in;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            in.insert(in.end(), x < 4 ? std::initializer_list<uint8_t>{255, 0, 0, 0}
                                      : std::initializer_list<uint8_t>{0, 0, 255, 255});
    const auto out = ResampleRgba(in, 8, 8, 6, 6);
    int seen = 0;
    for (size_t i = 0; i < out.size(); i += 4) {
        if (out[i + 3] < 16) continue;
        ++seen;
        EXPECT_LE(out[i], 2) << "red bled in at " << i / 4;
        EXPECT_GE(out[i + 2], 250);
    }
    EXPECT_GE(seen, 12);
    EXPECT_EQ(out[3], 0);           // top-left stays clear
    EXPECT_EQ(out[5 * 4 + 3], 255); // top-right stays opaque
}

TEST(ResampleRgba, ShrinkingAveragesInLinearLight) {
    // A fine black and white checkerboard shrunk to half looks mid grey, which
    // in sRGB is about 188, not the 128 of a naive average.
    std::vector<uint8_t> in;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint8_t v = (x + y) % 2 ? 255 : 0;
            in.insert(in.end(), {v, v, v, 255});
        }
    const auto out = ResampleRgba(in, 16, 16, 8, 8);
    const size_t centre = (4 * 8 + 4) * 4;
    EXPECT_NEAR(out[centre], 188, 6);
}

TEST(ResampleRgba, BadSizesAreRefused) {
    const auto one = Filled(2, 2, 1, 2, 3, 4);
    EXPECT_THROW(ResampleRgba(one, 0, 2, 4, 4), Exception);
    EXPECT_THROW(ResampleRgba(one, 2, 2, 4, -1), Exception);
    EXPECT_THROW(ResampleRgba(one, 3, 3, 4, 4), Exception); // too few pixels
    EXPECT_THROW(ResampleRgba(one, 2, 2, 70000, 70000), Exception);
    EXPECT_EQ(ResampleRgba(one, 2, 2, 2, 2), one);
}

} // namespace
} // namespace tabulon
