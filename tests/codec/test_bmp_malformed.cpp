// Malformed files: each is refused with EBmpError (or read leniently), never a
// crash, an overlong read or an allocation the file cannot justify.
#include "BmpTestUtil.h"
#include "BmpWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace bmptest;
using tabulon::EBmpError;

namespace {

// Decodes, returning the error message ("" on success).
std::string Outcome(const Bytes& file) {
    try {
        Decode(file);
        return "";
    } catch (const EBmpError& e) {
        EXPECT_NE(std::string(e.what()), "");
        EXPECT_STREQ(e.ClassName(), "EBmpError");
        return e.what();
    }
}

Bytes Gray8(int width, int height) {
    Bytes palette;
    for (int i = 0; i < 256; ++i)
        palette.insert(palette.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    const size_t stride = (size_t(width) + 3) & ~size_t(3);
    return File({.width = width, .height = height, .bpp = 8}, palette,
                Bytes(stride * size_t(height), 7));
}

std::vector<Bytes> ValidFilesOfEveryKind() {
    const Bytes pal = Palette({0x112233, 0x445566, 0x778899});
    return {
        Gray8(5, 3),
        File({.width = 9, .height = 2, .bpp = 1}, pal, Bytes(8, 0xA5)),
        File({.width = 3, .height = -2, .bpp = 4, .colorsUsed = 3}, pal, Bytes(8, 0x12)),
        File({.width = 3, .height = 3}, {}, Bytes(36, 9)),
        File({.width = 3, .height = 2, .bpp = 16, .compression = 3, .masks = {0xF800, 0x7E0, 0x1F}},
             {}, Bytes(16, 3)),
        File({.width = 2,
              .height = 2,
              .bpp = 32,
              .compression = 3,
              .headerSize = 124,
              .masks = {0xFF, 0xFF00, 0xFF0000}},
             {}, Bytes(16, 4)),
        File({.width = 2, .height = 2, .bpp = 8, .headerSize = 12}, Bytes(768, 1), Bytes(8, 2)),
        File({.width = 6, .height = 3, .bpp = 8, .compression = 1}, pal,
             {3, 1, 0, 4, 1, 2, 1, 2, 0, 0, 0, 2, 1, 1, 2, 2, 0, 1}),
        File({.width = 6, .height = 3, .bpp = 4, .compression = 2}, pal,
             {3, 0x12, 0, 5, 0x12, 0x01, 0x20, 0, 0, 0, 0, 1}),
    };
}

} // namespace

// Every cut of a valid file is refused, except inside a run-length stream,
// which may end early (the rest of the picture stays blank).
TEST(BmpMalformed, EveryTruncationIsRefused) {
    for (const Bytes& file : ValidFilesOfEveryKind()) {
        ASSERT_EQ(Outcome(file), "");
        const uint32_t pixelsAt = uint32_t(file[10]) | uint32_t(file[11]) << 8 |
                                  uint32_t(file[12]) << 16 | uint32_t(file[13]) << 24;
        const uint32_t headerSize = uint32_t(file[14]) | uint32_t(file[15]) << 8;
        const uint32_t compression = headerSize >= 40 ? uint32_t(file[30]) : 0;
        const bool runLength = compression == 1 || compression == 2;
        for (size_t n = 0; n < file.size(); ++n) {
            const std::string outcome = Outcome(Bytes(file.begin(), file.begin() + ptrdiff_t(n)));
            if (!runLength || n < pixelsAt) {
                EXPECT_NE(outcome, "") << "cut at " << n << " of " << file.size();
            }
        }
    }
    // Uncompressed pixel data cut short is refused: nothing is made up.
    const Bytes gray = Gray8(5, 3);
    EXPECT_NE(Outcome(Bytes(gray.begin(), gray.end() - 1)), "");
    EXPECT_NE(Outcome(Bytes(gray.begin(), gray.begin() + 20)), "");
    // A run-length stream broken off inside a command is refused.
    const Bytes pal = Palette({0});
    EXPECT_NE(
        Outcome(File({.width = 4, .height = 1, .bpp = 8, .compression = 1}, pal, {0, 4, 1, 1})),
        "");
    EXPECT_NE(Outcome(File({.width = 4, .height = 1, .bpp = 8, .compression = 1}, pal, {0, 2, 1})),
              "");
    EXPECT_NE(Outcome(File({.width = 4, .height = 1, .bpp = 8, .compression = 1}, pal, {2})), "");
    EXPECT_EQ(Decode(Gray8(5, 3)).width, 5);
}

TEST(BmpMalformed, BadHeadersAreRefused) {
    const Bytes pal = Palette({0, 0xFFFFFF});
    const Bytes px(4, 0);
    EXPECT_NE(Outcome({}), "");
    EXPECT_NE(Outcome({'B', 'M'}), "");
    Bytes notBmp = Gray8(1, 1);
    notBmp[0] = 'P';
    EXPECT_NE(Outcome(notBmp), "");
    EXPECT_NE(Outcome(File({.width = -1, .height = 1, .bpp = 1}, pal, px)), "");
    EXPECT_NE(Outcome(File({.width = 0, .height = 1, .bpp = 1}, pal, px)), "");
    EXPECT_NE(Outcome(File({.width = 1, .height = 0, .bpp = 1}, pal, px)), "");
    EXPECT_NE(Outcome(File({.width = 1, .height = INT32_MIN, .bpp = 1}, pal, px)), "");
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .planes = 0, .bpp = 1}, pal, px)), "");
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .planes = 2, .bpp = 1}, pal, px)), "");
    for (uint16_t bpp : {0, 2, 3, 7, 12, 48, 64})
        EXPECT_NE(Outcome(File({.width = 1, .height = 1, .bpp = bpp}, pal, Bytes(16, 0))), "")
            << bpp;
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .bpp = 16, .headerSize = 12}, {}, px)), "");
    for (uint32_t compression : {4u, 5u, 7u, 11u, 0xFFFFFFFFu})
        EXPECT_NE(
            Outcome(File({.width = 1, .height = 1, .bpp = 24, .compression = compression}, {}, px)),
            "");
    // Compressions that do not fit the depth.
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .bpp = 4, .compression = 1}, pal, px)), "");
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .bpp = 8, .compression = 2}, pal, px)), "");
    EXPECT_NE(
        Outcome(File({.width = 1, .height = 1, .bpp = 24, .compression = 3, .masks = {1, 2, 4}}, {},
                     px)),
        "");
    // Masks: missing after a 40-byte header, or with holes.
    EXPECT_NE(Outcome(Bytes(File({.width = 1, .height = 1, .bpp = 16, .compression = 3}, {}, {}))),
              "");
    EXPECT_NE(
        Outcome(File(
            {.width = 1, .height = 1, .bpp = 16, .compression = 3, .masks = {0xF00F, 0x0F0, 0}}, {},
            px)),
        "");
    // Header sizes no writer uses.
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .bpp = 24, .headerSize = 20}, {}, px)), "");
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .bpp = 24, .headerSize = 0xFFFFFFF0}, {}, px)),
              "");
    // Pixel offsets inside the header or past the end.
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .bpp = 24}, {}, px, 20)), "");
    EXPECT_NE(Outcome(File({.width = 1, .height = 1, .bpp = 24}, {}, px, 1000)), "");
}

TEST(BmpMalformed, HugeDimensionsAreRefusedWithoutAllocating) {
    const Bytes px(64, 0);
    for (uint16_t bpp : {1, 4, 8, 16, 24, 32}) {
        EXPECT_NE(Outcome(File({.width = INT32_MAX, .height = INT32_MAX, .bpp = bpp},
                               Bytes(1024, 0), px)),
                  "")
            << bpp;
        EXPECT_NE(Outcome(File({.width = INT32_MAX, .height = -INT32_MAX, .bpp = bpp},
                               Bytes(1024, 0), px)),
                  "");
        EXPECT_NE(
            Outcome(File({.width = 0x10000, .height = 0x10000, .bpp = bpp}, Bytes(1024, 0), px)),
            "");
    }
    // A run-length file may claim any size; beyond the cap it is refused.
    const Bytes rle = {0, 1};
    EXPECT_NE(
        Outcome(File({.width = 100000, .height = 100000, .bpp = 8, .compression = 1}, {}, rle)),
        "");
    EXPECT_NE(Outcome(File({.width = INT32_MAX, .height = INT32_MAX, .bpp = 4, .compression = 2},
                           {}, rle)),
              "");
    EXPECT_EQ(Outcome(File({.width = 2000, .height = 1000, .bpp = 8, .compression = 1}, {}, rle)),
              "");
}

TEST(BmpMalformed, RunLengthStreamsThatWanderOffThePictureAreClipped) {
    const Bytes pal = Palette({0x000000, 0xFFFFFF});
    // Runs past the right edge, deltas past the right and top edges, and data
    // after the last row: all drawing outside the picture is dropped.
    const Bytes rle = {255, 1, 0, 2, 255, 0, 4, 1, 0, 0, 0, 2, 0, 255, 3, 1, 0, 0, 5, 1, 0, 1};
    const auto img = Decode(File({.width = 3, .height = 2, .bpp = 8, .compression = 1}, pal, rle));
    EXPECT_EQ(Pixels(img), (std::vector<uint32_t>{0, 0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
    const Bytes abs = {0, 255};
    Bytes longAbsolute = abs;
    longAbsolute.resize(2 + 256, 1);
    const auto img2 =
        Decode(File({.width = 2, .height = 1, .bpp = 8, .compression = 1}, pal, longAbsolute));
    EXPECT_EQ(Pixels(img2), (std::vector<uint32_t>{0xFFFFFF, 0xFFFFFF}));
}

TEST(BmpMalformed, CallerLowersTheRunLengthCap) {
    // 512 x 512 at 3 bytes a pixel is 768 KiB of output from a 2-byte stream.
    const Bytes file =
        File({.width = 512, .height = 512, .bpp = 8, .compression = 1}, Palette({0}), {0, 1});
    EXPECT_EQ(tabulon::DecodeBmp(file.data(), file.size()).height, 512);
    EXPECT_THROW(tabulon::DecodeBmp(file.data(), file.size(), 768 * 1024 - 1), EBmpError);
    EXPECT_EQ(tabulon::DecodeBmp(file.data(), file.size(), 768 * 1024).width, 512);
}

// Damaged files and the fuzzer's findings; each must end in success or a clean
// EBmpError, with the program's limits and with the fuzz target's lower cap.
TEST(BmpMalformed, FormerFuzzerFindings) {
    const std::filesystem::path dir = std::filesystem::path(TABULON_TESTDATA) / "crashers" / "bmp";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++count;
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        Outcome(file);
        try {
            tabulon::DecodeBmp(file.data(), file.size(), size_t(1) << 18);
        } catch (const EBmpError&) {
        }
    }
    EXPECT_GT(count, 0);
}
