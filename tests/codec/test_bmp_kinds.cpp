// Decoding of every BMP kind, from files built byte by byte.
#include "BmpTestUtil.h"
#include "BmpWriter.h"

#include <gtest/gtest.h>

using namespace bmptest;
using V = std::vector<uint32_t>;

namespace {

const uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;
const uint32_t kGrey = 0x808080, kYellow = 0xFFFF00;

} // namespace

TEST(BmpKinds, OneBitPerPixelWithPaddedRows) {
    // 10 x 2, bottom-up: stored row 0 is the picture's bottom row.
    const Bytes pixels = {0b10110000, 0b01000000, 0, 0, //
                          0b00000000, 0b11000000, 0, 0};
    const auto img =
        Decode(File({.width = 10, .height = 2, .bpp = 1}, Palette({kBlue, kYellow}), pixels));
    ASSERT_EQ(img.width, 10);
    ASSERT_EQ(img.height, 2);
    EXPECT_EQ(img.pixels.size(), tabulon::BmpStride24(10) * 2);
    EXPECT_EQ(Pixels(img),
              (V{kBlue,   kBlue, kBlue,   kBlue,   kBlue, kBlue, kBlue, kBlue, kYellow, kYellow, //
                 kYellow, kBlue, kYellow, kYellow, kBlue, kBlue, kBlue, kBlue, kBlue,   kYellow}));
}

TEST(BmpKinds, FourAndEightBitsPerPixel) {
    const Bytes palette = Palette({kRed, kGreen, kBlue, kWhite});
    const auto four = Decode(
        File({.width = 3, .height = -1, .bpp = 4, .colorsUsed = 4}, palette, {0x01, 0x20, 0, 0}));
    EXPECT_EQ(Pixels(four), (V{kRed, kGreen, kBlue}));
    const auto eight = Decode(File({.width = 3, .height = -2, .bpp = 8, .colorsUsed = 4}, palette,
                                   {3, 2, 1, 0, 0, 1, 3, 0}));
    EXPECT_EQ(Pixels(eight), (V{kWhite, kBlue, kGreen, kRed, kGreen, kWhite}));
}

TEST(BmpKinds, IndexesBeyondAShortPaletteAreBlack) {
    // colorsUsed 2: the third entry in the file is not part of the palette.
    const Bytes palette = Palette({kRed, kGreen, kBlue});
    const auto img =
        Decode(File({.width = 4, .height = 1, .bpp = 8, .colorsUsed = 2}, palette, {0, 1, 2, 255}));
    EXPECT_EQ(Pixels(img), (V{kRed, kGreen, 0, 0}));
    // A palette cut short by the pixel offset counts only the entries present.
    const auto cut =
        Decode(File({.width = 2, .height = 1, .bpp = 1}, Palette({kWhite}), {0x40, 0, 0, 0}));
    EXPECT_EQ(Pixels(cut), (V{kWhite, 0}));
}

TEST(BmpKinds, TwentyFourBitsBottomUpAndTopDown) {
    const Bytes pixels = {0,   0, 255, 0,   255, 0,   0, 0, // bottom row in bottom-up order
                          255, 0, 0,   255, 255, 255, 0, 0};
    const auto up = Decode(File({.width = 2, .height = 2}, {}, pixels));
    EXPECT_EQ(Pixels(up), (V{kBlue, kWhite, kRed, kGreen}));
    const auto down = Decode(File({.width = 2, .height = -2}, {}, pixels));
    EXPECT_EQ(Pixels(down), (V{kRed, kGreen, kBlue, kWhite}));
}

TEST(BmpKinds, SixteenBitsDefaultIs555) {
    Bytes pixels;
    Add16(pixels, 0x7C00), Add16(pixels, 0x03E0), Add16(pixels, 0x001F), Add16(pixels, 0x4210);
    const auto img = Decode(File({.width = 4, .height = 1, .bpp = 16}, {}, pixels));
    EXPECT_EQ(Pixels(img), (V{kRed, kGreen, kBlue, 0x848484}));
}

TEST(BmpKinds, SixteenBitsWith565MasksAfterTheHeader) {
    Bytes pixels;
    Add16(pixels, 0xF800), Add16(pixels, 0x07E0), Add16(pixels, 0x001F), Add16(pixels, 0x0000);
    const Info info{
        .width = 4, .height = 1, .bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
    EXPECT_EQ(Pixels(Decode(File(info, {}, pixels))), (V{kRed, kGreen, kBlue, 0}));
}

TEST(BmpKinds, ThirtyTwoBitsDefaultAndMasksInsideV4AndV5Headers) {
    Bytes pixels;
    Add32(pixels, 0xFF123456), Add32(pixels, 0x00ABCDEF);
    EXPECT_EQ(Pixels(Decode(File({.width = 2, .height = 1, .bpp = 32}, {}, pixels))),
              (V{0x123456, 0xABCDEF}));
    for (uint32_t headerSize : {108u, 124u}) {
        // Red in the low byte, blue in the high byte, alpha in the middle.
        const Info info{.width = 2,
                        .height = 1,
                        .bpp = 32,
                        .compression = 3,
                        .headerSize = headerSize,
                        .masks = {0x000000FF, 0x0000FF00, 0xFF000000, 0x00FF0000}};
        EXPECT_EQ(Pixels(Decode(File(info, {}, pixels))), (V{0x5634FF, 0xEFCD00})) << headerSize;
    }
    // BI_RGB ignores the masks a V5 header carries.
    const Info plain{
        .width = 2, .height = 1, .bpp = 32, .headerSize = 124, .masks = {0xFF, 0xFF00, 0xFF0000}};
    EXPECT_EQ(Pixels(Decode(File(plain, {}, pixels))), (V{0x123456, 0xABCDEF}));
}

TEST(BmpKinds, WideMasksKeepTheirTopEightBits) {
    Bytes pixels;
    Add32(pixels, 0x3FF00000 | 0x200 << 10 | 0x3FF); // 10 bits each
    const Info info{.width = 1,
                    .height = 1,
                    .bpp = 32,
                    .compression = 3,
                    .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}};
    EXPECT_EQ(Pixels(Decode(File(info, {}, pixels))), (V{0xFF80FF}));
}

TEST(BmpKinds, CoreHeaderWithThreeBytePalette) {
    const Bytes palette = Palette({kRed, kGreen, kBlue, kWhite}, true);
    Bytes full = palette;
    full.resize(16 * 3, 0);
    const auto img = Decode(
        File({.width = 4, .height = 1, .bpp = 4, .headerSize = 12}, full, {0x01, 0x23, 0, 0}));
    EXPECT_EQ(Pixels(img), (V{kRed, kGreen, kBlue, kWhite}));
    const auto rgb =
        Decode(File({.width = 1, .height = 1, .bpp = 24, .headerSize = 12}, {}, {1, 2, 3, 0}));
    EXPECT_EQ(Pixels(rgb), (V{0x030201}));
}

TEST(BmpKinds, ZeroPixelOffsetMeansRightAfterThePalette) {
    const auto img = Decode(File({.width = 2, .height = 1, .bpp = 8, .colorsUsed = 2},
                                 Palette({kRed, kGrey}), {1, 0, 0, 0}, 0));
    EXPECT_EQ(Pixels(img), (V{kGrey, kRed}));
}

TEST(BmpKinds, Rle8RunsAbsoluteRunsDeltasAndLineEnds) {
    const Bytes palette = Palette({kGrey, kRed, kGreen, kBlue});
    // 5 x 4, bottom-up; pixels the stream skips keep palette entry 0 (grey).
    const Bytes rle = {2, 1, 0, 3, 2, 3, 1, 0, // row 0: R R G B R
                       0, 0,                   // end of line -> row 1
                       0, 2, 1, 1,             // delta: x 1, row 2
                       2, 3,                   // row 2: x1, x2 blue
                       0, 0,                   // end of line -> row 3
                       9, 2,                   // row 3: a run longer than the row is clipped
                       0, 1};                  // end of bitmap
    const Info info{
        .width = 5, .height = 4, .bpp = 8, .compression = 1, .sizeImage = uint32_t(rle.size())};
    const auto img = Decode(File(info, palette, rle));
    EXPECT_EQ(Pixels(img), (V{kGreen, kGreen, kGreen, kGreen, kGreen, //
                              kGrey,  kBlue,  kBlue,  kGrey,  kGrey,  //
                              kGrey,  kGrey,  kGrey,  kGrey,  kGrey,  //
                              kRed,   kRed,   kGreen, kBlue,  kRed}));
}

TEST(BmpKinds, Rle4AlternatesNibbles) {
    const Bytes palette = Palette({kGrey, kRed, kGreen, kBlue});
    const Bytes rle = {5, 0x12,                      // R G R G R
                       0, 0,                         //
                       0, 3,    0x31, 0x20,          // absolute: B R G (2 bytes, already even)
                       0, 0,                         //
                       0, 5,    0x12, 0x30, 0x20, 0, // absolute: R G B grey G, 3 bytes + pad
                       0, 1};
    const Info info{.width = 5, .height = -3, .bpp = 4, .compression = 2};
    const auto img = Decode(File(info, palette, rle));
    EXPECT_EQ(Pixels(img), (V{kRed, kGreen, kRed, kGreen, kRed,  //
                              kBlue, kRed, kGreen, kGrey, kGrey, //
                              kRed, kGreen, kBlue, kGrey, kGreen}));
}

TEST(BmpKinds, RleWithoutEndMarkKeepsWhatItSet) {
    const Info info{.width = 2, .height = 2, .bpp = 8, .compression = 1};
    const auto img = Decode(File(info, Palette({kWhite, kRed}), {2, 1}));
    EXPECT_EQ(Pixels(img), (V{kWhite, kWhite, kRed, kRed}));
}
