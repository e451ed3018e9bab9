// Writing 24-bit files, and reading files made by ImageMagick.
#include "BmpTestUtil.h"
#include "BmpWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace bmptest;
using tabulon::BmpStride24;
using tabulon::EncodeBmp24;

namespace {

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t Le32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

// A picture whose every byte differs from its neighbours', padding excluded.
Bytes Pattern(int width, int height, size_t stride) {
    Bytes rows(stride * size_t(height), 0xEE); // padding bytes must not leak into the file
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i)
            rows[size_t(y) * stride + size_t(i)] = uint8_t(y * 31 + i * 7 + 1);
    return rows;
}

} // namespace

TEST(BmpFiles, StrideRoundsThreeBytesPerPixelUpToFour) {
    EXPECT_EQ(BmpStride24(1), 4u);
    EXPECT_EQ(BmpStride24(4), 12u);
    EXPECT_EQ(BmpStride24(5), 16u);
    EXPECT_EQ(BmpStride24(350), 1052u);
}

TEST(BmpFiles, EncodeWritesA24BitBottomUpFile) {
    const Bytes rows = Pattern(350, 300, BmpStride24(350));
    const Bytes file = EncodeBmp24(350, 300, rows.data(), BmpStride24(350));
    ASSERT_EQ(file.size(), 54u + 1052u * 300u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), file.size());
    EXPECT_EQ(Le32(file, 10), 54u);
    EXPECT_EQ(Le32(file, 14), 40u);
    EXPECT_EQ(int32_t(Le32(file, 18)), 350);
    EXPECT_EQ(int32_t(Le32(file, 22)), 300); // positive height: bottom-up
    EXPECT_EQ(file[26] | file[27] << 8, 1);
    EXPECT_EQ(file[28] | file[29] << 8, 24);
    EXPECT_EQ(Le32(file, 30), 0u); // BI_RGB
    // The first stored row is the picture's last row.
    EXPECT_TRUE(std::equal(rows.end() - 1052, rows.end() - 2, file.begin() + 54));
    EXPECT_EQ(file[54 + 1050], 0);
    EXPECT_EQ(file[54 + 1051], 0);
}

TEST(BmpFiles, EncodeThenDecodeGivesThePixelsBack) {
    for (int width : {1, 2, 3, 4, 5, 350}) {
        for (int height : {1, 2, 3, 300}) {
            // Source rows wider than needed: only 3 * width bytes of each are used.
            const size_t stride = size_t(width) * 3 + 5;
            const Bytes rows = Pattern(width, height, stride);
            const Bytes file = EncodeBmp24(width, height, rows.data(), stride);
            const auto img = Decode(file);
            ASSERT_EQ(img.width, width);
            ASSERT_EQ(img.height, height);
            ASSERT_EQ(img.pixels.size(), BmpStride24(width) * size_t(height));
            for (int y = 0; y < height; ++y) {
                const uint8_t* got = img.pixels.data() + size_t(y) * BmpStride24(width);
                ASSERT_TRUE(std::equal(got, got + width * 3, rows.begin() + ptrdiff_t(y * stride)))
                    << width << " x " << height << " row " << y;
                for (size_t pad = size_t(width) * 3; pad < BmpStride24(width); ++pad)
                    ASSERT_EQ(got[pad], 0);
            }
        }
    }
}

TEST(BmpFiles, EncodeRefusesWhatItCannotWrite) {
    const Bytes rows(64, 0);
    EXPECT_THROW(EncodeBmp24(0, 1, rows.data(), 4), tabulon::EBmpError);
    EXPECT_THROW(EncodeBmp24(1, 0, rows.data(), 4), tabulon::EBmpError);
    EXPECT_THROW(EncodeBmp24(-1, 1, rows.data(), 4), tabulon::EBmpError);
    EXPECT_THROW(EncodeBmp24(4, 1, rows.data(), 11), tabulon::EBmpError); // rows overlap
    EXPECT_THROW(EncodeBmp24(1, 1, nullptr, 4), tabulon::EBmpError);
    EXPECT_THROW(EncodeBmp24(40000, 40000, rows.data(), 120000), tabulon::EBmpError); // over 4 GiB
}

// Each reference file next to the raw R,G,B pixels ImageMagick reads from it.
TEST(BmpFiles, ReadsImageMagickFilesAsImageMagickDoes) {
    const std::string dir = std::string(TABULON_TESTDATA) + "/bmp/";
    for (const char* name : {"im_rgb24", "im_pal8", "im_pal4", "im_pal1", "im_rle8", "im_core4",
                             "im_bf565", "im_rgb555", "im_v5_32"}) {
        const Bytes file = ReadFile(dir + name + ".bmp");
        const Bytes want = ReadFile(dir + name + ".rgb");
        ASSERT_FALSE(file.empty()) << name;
        const auto img = Decode(file);
        ASSERT_EQ(img.width, 13) << name;
        ASSERT_EQ(img.height, 7) << name;
        ASSERT_EQ(want.size(), 13u * 7u * 3u) << name;
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 13; ++x) {
                const uint32_t got = Pixel(img, x, y);
                const uint8_t* w = want.data() + (size_t(y) * 13 + size_t(x)) * 3;
                // 5- and 6-bit channels may be widened with a different rounding.
                const int slack = std::string(name).find("5") != std::string::npos ? 4 : 0;
                EXPECT_NEAR(int(got >> 16), w[0], slack) << name << " at " << x << "," << y;
                EXPECT_NEAR(int(got >> 8 & 0xFF), w[1], slack) << name << " at " << x << "," << y;
                EXPECT_NEAR(int(got & 0xFF), w[2], slack) << name << " at " << x << "," << y;
            }
        }
    }
}
