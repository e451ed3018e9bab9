// Images large enough that the decoder reads rows ahead of the one it
// converts: rows wider than its read-ahead room, many rows per IDAT chunk and
// rows split over chunks of every size, plain and interlaced. Each decodes to
// the pixels it was written with, and data cut short still gives the rows
// before the cut.
#include "PngTestUtil.h"

using namespace tabulon;
using namespace tabulon::test;

namespace {

// 16-bit grey and RGB(A) samples as RGBA bytes, first sample bytes for 16-bit.
Bytes ExpectedRgba(const TestImage& image) {
    Bytes out;
    const auto top = [&](uint16_t s) { return uint8_t(image.depth == 16 ? s >> 8 : s); };
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            const auto s = [&](unsigned c) { return top(image.Sample(x, y, c)); };
            if (image.colourType == 0)
                out.insert(out.end(), {s(0), s(0), s(0), 255});
            else
                out.insert(out.end(),
                           {s(0), s(1), s(2), image.colourType == 6 ? s(3) : uint8_t(255)});
        }
    return out;
}

struct Case {
    uint32_t width, height;
    uint8_t depth, colourType;
};

TEST(PngWide, RowsWiderThanTheReadAhead) {
    // 7000 × 8 bytes and 20000 × 3 bytes per row.
    for (const Case& c : {Case{7000, 5, 16, 6}, Case{20000, 3, 8, 2}}) {
        const TestImage image = RandomImage(c.width, c.height, c.depth, c.colourType, c.width);
        for (bool interlaced : {false, true})
            for (size_t piece : {size_t(0), size_t(4093), size_t(70001)}) {
                SCOPED_TRACE("width " + std::to_string(c.width) + (interlaced ? " Adam7" : "") +
                             " piece " + std::to_string(piece));
                EXPECT_EQ(DecodedRgba(*Decode(EncodePng(image, -1, interlaced, piece))),
                          ExpectedRgba(image));
            }
    }
}

TEST(PngWide, ManyRowsOverChunksOfEverySize) {
    for (const Case& c :
         {Case{301, 97, 8, 2}, Case{257, 61, 8, 6}, Case{129, 77, 16, 2}, Case{333, 41, 16, 0}}) {
        const TestImage image = RandomImage(c.width, c.height, c.depth, c.colourType, c.height);
        const Bytes expected = ExpectedRgba(image);
        for (bool interlaced : {false, true})
            for (size_t piece : {size_t(0), size_t(1), size_t(13), size_t(8192), size_t(65536)}) {
                SCOPED_TRACE("width " + std::to_string(c.width) + (interlaced ? " Adam7" : "") +
                             " piece " + std::to_string(piece));
                EXPECT_EQ(DecodedRgba(*Decode(EncodePng(image, -1, interlaced, piece))), expected);
            }
    }
}

TEST(PngWide, DataCutShortKeepsTheRowsBeforeTheCut) {
    const TestImage image = RandomImage(400, 120, 8, 2, 7);
    const Bytes expected = ExpectedRgba(image);
    const Bytes data = Deflate(Scanlines(image, -1));
    for (size_t cut : {data.size() / 3, data.size() / 2 + 5}) {
        PngBuilder png;
        png.Ihdr(400, 120, 8, 2).Idat(Bytes(data.begin(), data.begin() + cut), 8192).Iend();
        TPngGraphic decoded;
        EXPECT_FALSE(DecodeError<EPNGMissingMultipleIDAT>(png.Get(), &decoded).empty());
        const Bytes rgba = DecodedRgba(decoded);
        // The cut falls at least this many rows in (the data is not compressed below half).
        const size_t rows = 120 * cut / data.size() / 2;
        ASSERT_GT(rows, 0u);
        EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + rows * 400 * 4, rgba.begin()))
            << "cut " << cut;
        // The last row was never decoded: its colour stays zero.
        for (size_t i = rgba.size() - 400 * 4; i < rgba.size(); i += 4)
            ASSERT_EQ(rgba[i] | rgba[i + 1] | rgba[i + 2], 0) << "cut " << cut << " byte " << i;
    }
}

} // namespace
