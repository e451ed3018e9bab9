// The row mix against the float formula it replaces.
#include "compose/BlendRows.h"
#include "codec/BmpCodec.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

namespace tabulon {
namespace {

TEST(BlendFactors, AreThe32BitFloatsOfTheWeight) {
    struct Row {
        int weight;
        uint32_t s, f;
    };
    // s = weight / 5 and f = 2 - s, each rounded to the nearest float.
    const Row table[] = {
        {0, 0x00000000, 0x40000000}, {1, 0x3E4CCCCD, 0x3FE66666},  {2, 0x3ECCCCCD, 0x3FCCCCCD},
        {3, 0x3F19999A, 0x3FB33333}, {4, 0x3F4CCCCD, 0x3F99999A},  {5, 0x3F800000, 0x3F800000},
        {6, 0x3F99999A, 0x3F4CCCCC}, {7, 0x3FB33333, 0x3F19999A},  {8, 0x3FCCCCCD, 0x3ECCCCCC},
        {9, 0x3FE66666, 0x3E4CCCD0}, {10, 0x40000000, 0x00000000},
    };
    for (const Row& row : table) {
        const BlendFactors factors = BlendFactorsFor(row.weight);
        EXPECT_EQ(std::bit_cast<uint32_t>(factors.s), row.s) << "weight " << row.weight;
        EXPECT_EQ(std::bit_cast<uint32_t>(factors.f), row.f) << "weight " << row.weight;
    }
}

TEST(BlendFactors, WeightsOutsideTheRangeAreClamped) {
    EXPECT_EQ(ClampBlendWeight(-7), 0);
    EXPECT_EQ(ClampBlendWeight(11), 10);
    EXPECT_EQ(RowBlender(-1).Weight(), 0);
    EXPECT_EQ(RowBlender(1000).Weight(), 10);
    uint8_t a[2] = {10, 200}, b[2] = {90, 30};
    RowBlender(-5).Mix(a, b, 2);
    EXPECT_EQ(a[0], 10);
    EXPECT_EQ(a[1], 200);
    RowBlender(99).Mix(a, b, 2);
    EXPECT_EQ(a[0], 90);
    EXPECT_EQ(a[1], 30);
}

uint8_t MixOne(int weight, uint8_t a, uint8_t b) {
    RowBlender(weight).Mix(&a, &b, 1);
    return a;
}

TEST(BlendByte, KnownValues) {
    // Equal inputs: weight 1 lowers each by one, the others keep them.
    EXPECT_EQ(MixOne(1, 255, 255), 254);
    EXPECT_EQ(MixOne(1, 1, 1), 0);
    EXPECT_EQ(MixOne(1, 0, 0), 0);
    for (int w = 0; w <= 10; ++w) {
        if (w == 1) continue;
        for (int v = 0; v < 256; ++v)
            EXPECT_EQ(MixOne(w, uint8_t(v), uint8_t(v)), v) << w;
    }
    // The two weights the pin uses.
    EXPECT_EQ(MixOne(2, 255, 0), 204);
    EXPECT_EQ(MixOne(2, 0, 255), 51);
    EXPECT_EQ(MixOne(4, 255, 0), 153);
    EXPECT_EQ(MixOne(4, 0, 255), 102);
    // The extremes and the mean rounded down.
    for (int a = 0; a < 256; a += 5) {
        for (int b = 0; b < 256; b += 3) {
            EXPECT_EQ(MixOne(0, uint8_t(a), uint8_t(b)), a);
            EXPECT_EQ(MixOne(10, uint8_t(a), uint8_t(b)), b);
            EXPECT_EQ(MixOne(5, uint8_t(a), uint8_t(b)), (a + b) / 2);
        }
    }
}

// Every (a, b) pair laid out in two rows of 65536 bytes, shifted by `skew` so
// that the vector loop and its scalar tail both meet every pair.
void ExpectRowEqualsFormula(int weight, size_t skew) {
    const size_t n = 65536 + skew;
    std::vector<uint8_t> first(n), second(n);
    for (size_t i = 0; i < 65536; ++i) {
        first[skew + i] = uint8_t(i >> 8);
        second[skew + i] = uint8_t(i);
    }
    const std::vector<uint8_t> original = first;
    RowBlender(weight).Mix(first.data() + skew, second.data() + skew, 65536);
    const BlendFactors factors = BlendFactorsFor(weight);
    size_t mismatches = 0;
    for (size_t i = 0; i < 65536; ++i) {
        const uint8_t want = BlendByteExact(uint8_t(i >> 8), uint8_t(i), factors);
        if (first[skew + i] != want && ++mismatches <= 5)
            ADD_FAILURE() << "weight " << weight << " a " << (i >> 8) << " b " << (i & 255) << ": "
                          << int(first[skew + i]) << " != " << int(want);
    }
    EXPECT_EQ(mismatches, 0u);
    for (size_t i = 0; i < skew; ++i)
        EXPECT_EQ(first[i], original[i]) << "byte before the row";
}

TEST(RowBlender, EqualsTheFloatFormulaOnAllPairsAtEveryWeight) {
    for (int weight = 0; weight <= 10; ++weight) {
        ExpectRowEqualsFormula(weight, 0);
        ExpectRowEqualsFormula(weight, 7);
    }
}

TEST(RowBlender, EqualsTheFloatFormulaByteByByte) {
    // One byte at a time takes the scalar path only.
    for (int weight = 0; weight <= 10; ++weight) {
        const RowBlender blender(weight);
        const BlendFactors factors = BlendFactorsFor(weight);
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                uint8_t x = uint8_t(a), y = uint8_t(b);
                blender.Mix(&x, &y, 1);
                ASSERT_EQ(x, BlendByteExact(uint8_t(a), uint8_t(b), factors))
                    << "weight " << weight << " a " << a << " b " << b;
            }
        }
    }
}

TEST(RowBlender, LeavesBytesPastTheCountAndTheSecondRowAlone) {
    std::vector<uint8_t> first(40, 255), second(40, 0);
    RowBlender(2).Mix(first.data(), second.data(), 33);
    for (size_t i = 0; i < 33; ++i)
        EXPECT_EQ(first[i], 204);
    for (size_t i = 33; i < 40; ++i)
        EXPECT_EQ(first[i], 255);
    for (uint8_t b : second)
        EXPECT_EQ(b, 0);
}

TEST(RowBlender, MixesARowWithItself) {
    std::vector<uint8_t> row(50);
    for (size_t i = 0; i < row.size(); ++i)
        row[i] = uint8_t(i * 5);
    RowBlender(1).Mix(row.data(), row.data(), row.size());
    for (size_t i = 0; i < row.size(); ++i)
        EXPECT_EQ(row[i], BlendByteExact(uint8_t(i * 5), uint8_t(i * 5), BlendFactorsFor(1)));
}

TEST(RowBlender, ZeroCountTouchesNothing) {
    uint8_t a = 7, b = 9;
    RowBlender(3).Mix(&a, &b, 0);
    EXPECT_EQ(a, 7);
    RowBlender(3).Mix(nullptr, nullptr, 0);
}

TEST(BlendPixelRows, StrideIsThreeTimesTheWidthRoundedUpToFour) {
    EXPECT_EQ(BmpStride24(350), 1052u);
    EXPECT_EQ(BmpStride24(1), 4u);
    EXPECT_EQ(BmpStride24(4), 12u);
    EXPECT_EQ(BmpStride24(3840), 11520u);
    EXPECT_EQ(BmpStride24(0), 0u);
    EXPECT_EQ(BmpStride24(-5), 0u);
    EXPECT_EQ(BmpStride24(0x7FFFFFFF), 6442450944u); // past 32 bits
}

TEST(BlendPixelRows, MixesEveryPixelAndLeavesThePaddingAlone) {
    const int width = 350, height = 5;
    const size_t stride = BmpStride24(width);
    std::vector<uint8_t> first(stride * height), second(stride * height);
    for (size_t i = 0; i < first.size(); ++i) {
        first[i] = uint8_t(i * 7);
        second[i] = uint8_t(i * 13 + 1);
    }
    const std::vector<uint8_t> before = first;
    BlendPixelRows(first.data(), second.data(), width, height, stride, 4);
    const BlendFactors factors = BlendFactorsFor(4);
    for (int row = 0; row < height; ++row) {
        for (size_t x = 0; x < stride; ++x) {
            const size_t i = size_t(row) * stride + x;
            const uint8_t want =
                x < size_t(width) * 3 ? BlendByteExact(before[i], second[i], factors) : before[i];
            ASSERT_EQ(first[i], want) << "row " << row << " byte " << x;
        }
    }
}

TEST(BlendPixelRows, EmptyPictureTouchesNothing) {
    uint8_t a[4] = {1, 2, 3, 4}, b[4] = {};
    BlendPixelRows(a, b, 0, 1, 4, 10);
    BlendPixelRows(a, b, 1, 0, 4, 10);
    BlendPixelRows(a, b, -1, 1, 4, 10);
    EXPECT_EQ(a[0], 1);
}

} // namespace
} // namespace tabulon
