// Decoded pixels against libpng, file by file over the PNG suite. libpng
// gives the raw samples; the expected colours apply the conversions the
// bitmap makes: 16-bit samples keep their high byte, low-depth grey is
// scaled to 0..255, and colours (not alpha) go through the decoding gamma,
// computed here from the file's gAMA value.
#include "PngTestUtil.h"

#include <png.h>

#include <cmath>
#include <filesystem>

using namespace tabulon;
using namespace tabulon::test;

namespace {

struct Reference {
    uint32_t width = 0, height = 0;
    Bytes rgba;
};

std::array<uint8_t, 256> GammaTable(png_structp png, png_infop info) {
    std::array<uint8_t, 256> table;
    png_fixed_point gamma = 0;
    const bool has = png_get_gAMA_fixed(png, info, &gamma) != 0 && gamma > 0;
    for (int i = 0; i < 256; ++i) {
        if (!has) {
            table[i] = uint8_t(i);
            continue;
        }
        const long double exponent = 1.0L / (gamma / 100000.0L * 2.2L);
        table[i] = uint8_t(std::nearbyint(std::pow(i / 255.0L, exponent) * 255.0L));
    }
    return table;
}

Reference ReadWithLibpng(const std::string& path) {
    Reference ref;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw std::runtime_error("cannot open " + path);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        throw std::runtime_error("libpng failed on " + path);
    }
    png_init_io(png, file);
    png_read_info(png, info);
    ref.width = png_get_image_width(png, info);
    ref.height = png_get_image_height(png, info);
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const auto gamma = GammaTable(png, info);
    // Copies: libpng's own arrays go away with its structures.
    std::vector<png_color> palette(256);
    Bytes trnsAlpha(256, 255);
    png_colorp paletteData = nullptr;
    int paletteSize = 0;
    if (png_get_PLTE(png, info, &paletteData, &paletteSize))
        std::copy(paletteData, paletteData + paletteSize, palette.begin());
    png_bytep trnsData = nullptr;
    int trnsCount = 0;
    if (type == PNG_COLOR_TYPE_PALETTE && png_get_tRNS(png, info, &trnsData, &trnsCount, nullptr))
        std::copy(trnsData, trnsData + trnsCount, trnsAlpha.begin());
    png_set_strip_16(png);
    png_set_packing(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    Bytes pixels(rowBytes * ref.height);
    std::vector<png_bytep> rows(ref.height);
    for (uint32_t y = 0; y < ref.height; ++y)
        rows[y] = pixels.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);

    const unsigned levels = depth < 8 ? (1u << depth) - 1 : 255;
    for (uint32_t y = 0; y < ref.height; ++y)
        for (uint32_t x = 0; x < ref.width; ++x) {
            const uint8_t* p = rows[y];
            switch (type) {
            case PNG_COLOR_TYPE_GRAY: {
                const uint8_t g = gamma[p[x] * 255 / levels];
                ref.rgba.insert(ref.rgba.end(), {g, g, g, 255});
                break;
            }
            case PNG_COLOR_TYPE_GRAY_ALPHA: {
                const uint8_t g = gamma[p[2 * x]];
                ref.rgba.insert(ref.rgba.end(), {g, g, g, p[2 * x + 1]});
                break;
            }
            case PNG_COLOR_TYPE_PALETTE: {
                const png_color& c = palette[p[x]];
                const uint8_t a = trnsAlpha[p[x]];
                ref.rgba.insert(ref.rgba.end(), {gamma[c.red], gamma[c.green], gamma[c.blue], a});
                break;
            }
            case PNG_COLOR_TYPE_RGB:
                ref.rgba.insert(ref.rgba.end(),
                                {gamma[p[3 * x]], gamma[p[3 * x + 1]], gamma[p[3 * x + 2]], 255});
                break;
            case PNG_COLOR_TYPE_RGB_ALPHA:
                ref.rgba.insert(ref.rgba.end(), {gamma[p[4 * x]], gamma[p[4 * x + 1]],
                                                 gamma[p[4 * x + 2]], p[4 * x + 3]});
                break;
            }
        }
    return ref;
}

TEST(PngAgainstLibpng, EverySuiteImageHasTheSamePixels) {
    int count = 0;
    const auto folder = std::filesystem::path(TABULON_TESTDATA) / "pngsuite";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".png") continue;
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        const Reference ref = ReadWithLibpng(entry.path().string());
        const Bytes bytes = ReadFileBytes(entry.path().string());
        auto image = Decode(bytes);
        ASSERT_EQ(image->PixelWidth(), ref.width);
        ASSERT_EQ(image->PixelHeight(), ref.height);
        const Bytes ours = DecodedRgba(*image);
        ASSERT_EQ(ours.size(), ref.rgba.size());
        size_t firstDifference = ours.size();
        for (size_t i = 0; i < ours.size(); ++i)
            if (ours[i] != ref.rgba[i]) {
                firstDifference = i;
                break;
            }
        EXPECT_EQ(firstDifference, ours.size())
            << "pixel " << firstDifference / 4 << " channel " << firstDifference % 4 << ": ours "
            << int(ours[firstDifference]) << ", libpng " << int(ref.rgba[firstDifference]);
    }
    EXPECT_GE(count, 90);
}

} // namespace
