// The row unfilter against a byte-by-byte rendering of the PNG filter rules,
// for every stride and filter over row lengths that end anywhere within a
// pixel (the fast loops work a pixel at a time and finish rows bytewise), in
// place and from a separate buffer.
#include "png/PngRows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

using namespace tabulon;

namespace {

using Bytes = std::vector<uint8_t>;

// row and prior hold the filter byte at 0, as the decoder's buffers do.
Bytes Reference(const Bytes& row, const Bytes& prior, size_t stride) {
    Bytes out = row;
    const size_t n = row.size() - 1;
    for (size_t i = 1; i <= n; ++i) {
        const int left = i - 1 >= stride ? out[i - stride] : 0;
        const int up = prior[i];
        const int upperLeft = i - 1 >= stride ? prior[i - stride] : 0;
        int pred = 0;
        switch (row[0]) {
        case 1:
            pred = left;
            break;
        case 2:
            pred = up;
            break;
        case 3:
            pred = (left + up) / 2;
            break;
        case 4: {
            const int p = left + up - upperLeft;
            const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upperLeft);
            pred = pa <= pb && pa <= pc ? left : pb <= pc ? up : upperLeft;
            break;
        }
        }
        out[i] = uint8_t(row[i] + pred);
    }
    return out;
}

TEST(PngRows, UnfilterMatchesTheFilterRules) {
    std::mt19937 rng(5);
    for (size_t stride : {1, 2, 3, 4, 6, 8}) {
        for (size_t n = 0; n <= 3 * 8 + 9; ++n) {
            for (uint8_t filter : {0, 1, 2, 3, 4, 5, 255}) {
                Bytes row(n + 1), prior(n + 1);
                for (auto& b : row)
                    b = uint8_t(rng());
                for (auto& b : prior)
                    b = uint8_t(rng());
                row[0] = filter;
                const Bytes expected = Reference(row, prior, stride);

                Bytes inPlace = row;
                UnfilterRow(inPlace.data(), inPlace.data(), prior.data(), n, stride, false);
                EXPECT_EQ(inPlace, expected)
                    << "stride " << stride << " bytes " << n << " filter " << int(filter);

                Bytes apart(n + 1, 0xA5);
                UnfilterRow(row.data(), apart.data(), prior.data(), n, stride, false);
                EXPECT_EQ(apart, expected)
                    << "apart, stride " << stride << " bytes " << n << " filter " << int(filter);

                // 16-bit samples: only the first byte of each sample counts.
                if (stride % 2 == 0 && n % 2 == 0) {
                    Bytes firsts = row;
                    UnfilterRow(firsts.data(), firsts.data(), prior.data(), n, stride, true);
                    for (size_t i = 1; i <= n; i += 2)
                        EXPECT_EQ(firsts[i], expected[i])
                            << "first bytes, stride " << stride << " byte " << i << " filter "
                            << int(filter);
                }
            }
        }
    }
}

// Wide rows with every filter in turn, each row unfiltered against the last.
TEST(PngRows, LongRowsChainAcrossRows) {
    std::mt19937 rng(9);
    for (size_t stride : {3, 4}) {
        const size_t n = stride * 301 + 2;
        Bytes prior(n + 1, 0), priorRef(n + 1, 0);
        for (int y = 0; y < 12; ++y) {
            Bytes row(n + 1);
            for (auto& b : row)
                b = uint8_t(rng() % 7);
            row[0] = uint8_t(y % 5);
            const Bytes expected = Reference(row, priorRef, stride);
            UnfilterRow(row.data(), row.data(), prior.data(), n, stride, false);
            ASSERT_EQ(row, expected) << "stride " << stride << " row " << y;
            prior = row;
            priorRef = expected;
        }
    }
}

} // namespace
