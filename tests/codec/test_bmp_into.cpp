// Decoding into the caller's memory and encoding in slices must give exactly
// what the whole-picture functions give.
#include "BmpTestUtil.h"
#include "BmpWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace bmptest;
using tabulon::BmpStride24;

namespace {

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Decodes into rows `extra` bytes wider than needed, all bytes first set to
// 0xEE, and compares with DecodeBmp (padding included: it must come out zero).
void ExpectSameAsDecode(const Bytes& file, const std::string& what) {
    const tabulon::BmpImage img = Decode(file);
    const tabulon::BmpSize size = tabulon::ReadBmpSize(file.data(), file.size());
    ASSERT_EQ(size.width, img.width) << what;
    ASSERT_EQ(size.height, img.height) << what;
    for (size_t extra : {size_t(0), size_t(8)}) {
        const size_t stride = BmpStride24(img.width) + extra;
        Bytes rows(stride * size_t(img.height), 0xEE);
        tabulon::DecodeBmpInto(file.data(), file.size(), rows.data(), stride);
        for (int y = 0; y < img.height; ++y) {
            const uint8_t* want = img.pixels.data() + size_t(y) * BmpStride24(img.width);
            const uint8_t* got = rows.data() + size_t(y) * stride;
            ASSERT_TRUE(std::equal(want, want + BmpStride24(img.width), got))
                << what << " row " << y << " stride " << stride;
            for (size_t i = BmpStride24(img.width); i < stride; ++i)
                ASSERT_EQ(got[i], 0) << what << " row " << y;
        }
    }
}

Bytes Pattern(int width, int height, size_t stride) {
    Bytes rows(stride * size_t(height), 0xEE);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i)
            rows[size_t(y) * stride + size_t(i)] = uint8_t(y * 31 + i * 7 + 1);
    return rows;
}

} // namespace

TEST(BmpInto, EveryKindDecodesAsIntoItsOwnPicture) {
    const std::string dir = std::string(TABULON_TESTDATA) + "/bmp/";
    for (const char* name : {"im_rgb24", "im_pal8", "im_pal4", "im_pal1", "im_rle8", "im_core4",
                             "im_bf565", "im_rgb555", "im_v5_32"})
        ExpectSameAsDecode(ReadFile(dir + name + ".bmp"), name);
    // Top-down and bottom-up 24-bit files of odd widths (padded rows).
    for (int height : {3, -3}) {
        const Info info{.width = 5, .height = height};
        Bytes pixels;
        for (int i = 0; i < 3 * 16; ++i)
            pixels.push_back(uint8_t(i * 13 + 7));
        ExpectSameAsDecode(File(info, {}, pixels), "24-bit " + std::to_string(height));
    }
}

TEST(BmpInto, SizeIsKnownBeforeDecodingAndBadFilesAreRefusedFirst) {
    const Info rle{.width = 4, .height = 2, .bpp = 8, .compression = 1};
    const Bytes rleFile = File(rle, Palette({0x102030}), {4, 0, 0, 0, 4, 0, 0, 1});
    const tabulon::BmpSize size = tabulon::ReadBmpSize(rleFile.data(), rleFile.size());
    EXPECT_EQ(size.width, 4);
    EXPECT_EQ(size.height, 2);
    EXPECT_TRUE(size.runLength);

    // Pixel rows missing: refused before a caller allocates anything.
    const Info big{.width = 30000, .height = 30000};
    const Bytes truncated = File(big, {}, Bytes(16, 0));
    EXPECT_THROW(tabulon::ReadBmpSize(truncated.data(), truncated.size()), tabulon::EBmpError);
    EXPECT_THROW(tabulon::ReadBmpSize(nullptr, 0), tabulon::EBmpError);

    const Info small{.width = 2, .height = 2};
    const Bytes file = File(small, {}, Bytes(16, 9));
    EXPECT_FALSE(tabulon::ReadBmpSize(file.data(), file.size()).runLength);
    Bytes rows(64, 0);
    EXPECT_THROW(tabulon::DecodeBmpInto(file.data(), file.size(), rows.data(), 7),
                 tabulon::EBmpError); // stride shorter than a row
    EXPECT_THROW(tabulon::DecodeBmpInto(file.data(), file.size(), nullptr, 8), tabulon::EBmpError);
}

TEST(BmpInto, SlicesOfTheFileJoinToTheWholeFile) {
    for (int width : {1, 3, 4, 350}) {
        const int height = 7;
        const size_t stride = size_t(width) * 3 + 5;
        const Bytes rows = Pattern(width, height, stride);
        const Bytes whole = tabulon::EncodeBmp24(width, height, rows.data(), stride);
        ASSERT_EQ(tabulon::BmpFileBytes24(width, height), whole.size());
        // Slices that start and end inside the header, inside rows and inside padding.
        for (size_t sliceBytes : {size_t(1), size_t(5), size_t(54), size_t(97), whole.size()}) {
            Bytes joined(whole.size(), 0xEE);
            for (size_t at = 0; at < whole.size(); at += sliceBytes) {
                const size_t n = std::min(sliceBytes, whole.size() - at);
                tabulon::EncodeBmp24Part(width, height, rows.data(), stride, at, joined.data() + at,
                                         n);
            }
            ASSERT_EQ(joined, whole) << width << " wide, slices of " << sliceBytes;
        }
        Bytes out(whole.size());
        EXPECT_THROW(tabulon::EncodeBmp24Part(width, height, rows.data(), stride, 1, out.data(),
                                              whole.size()),
                     tabulon::EBmpError); // past the end
    }
    EXPECT_THROW(tabulon::BmpFileBytes24(0, 1), tabulon::EBmpError);
    EXPECT_THROW(tabulon::BmpFileBytes24(40000, 40000), tabulon::EBmpError);
}
