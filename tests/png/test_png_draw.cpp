// Drawing under Wine: into a memory DC holding a 32-bit DIB section, then
// reading the pixels back.
#include "PngTestUtil.h"
#include "platform/DibHeader.h"
#include "platform/Handles.h"

using namespace tabulon;
using namespace tabulon::test;

namespace {

// A 32-bit top-down canvas filled with one colour (0x00RRGGBB order in memory: B, G, R, 0).
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill) : width_(width) {
        const BITMAPINFO info = TopDownHeader32(width, height);
        dc_ = MemoryDC(CreateCompatibleDC(nullptr));
        void* bits = nullptr;
        bitmap_ = GdiBitmap(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<uint8_t*>(bits);
        select_ = std::make_unique<SelectGuard>(dc_.Get(), bitmap_.Get());
        for (int i = 0; i < width * height; ++i) {
            bits_[4 * i] = GetBValue(fill);
            bits_[4 * i + 1] = GetGValue(fill);
            bits_[4 * i + 2] = GetRValue(fill);
        }
    }
    ~Canvas() { select_.reset(); }
    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint8_t* p = bits_ + 4 * (size_t(y) * width_ + x);
        return RGB(p[2], p[1], p[0]);
    }

  private:
    int width_;
    MemoryDC dc_;
    GdiBitmap bitmap_;
    uint8_t* bits_ = nullptr;
    std::unique_ptr<SelectGuard> select_;
};

// A w × h RGBA image of one colour and alpha.
Bytes SolidRgba(uint32_t w, uint32_t h, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    Bytes raw(size_t(h) * (1 + 4 * size_t(w)), 0);
    for (size_t at = 0; at < raw.size(); ++at) {
        const size_t column = at % (1 + 4 * size_t(w));
        if (column == 0) continue; // filter byte
        const uint8_t channel[4] = {r, g, b, a};
        raw[at] = channel[(column - 1) % 4];
    }
    PngBuilder png;
    png.Ihdr(w, h, 8, 6).Idat(Deflate(raw)).Iend();
    return png.Get();
}

TEST(PngDraw, BlendExtremesAndMidpoint) {
    struct Case {
        uint8_t source, alpha, dest, expected;
    };
    const Case cases[] = {{255, 0, 0, 0},     {0, 0, 255, 255},  {77, 0, 13, 13},
                          {200, 255, 3, 200}, {0, 255, 255, 0},  {255, 128, 0, 128},
                          {0, 128, 255, 127}, {255, 255, 0, 255}};
    for (const Case& c : cases) {
        auto image = Decode(SolidRgba(2, 2, c.source, c.source, c.source, c.alpha));
        Canvas canvas(4, 4, RGB(c.dest, c.dest, c.dest));
        image->PaintOnCanvas(canvas.Dc(), TRect{1, 1, 3, 3});
        SCOPED_TRACE(testing::Message()
                     << int(c.source) << " a=" << int(c.alpha) << " over " << int(c.dest));
        EXPECT_EQ(GetRValue(canvas.At(1, 1)), c.expected);
        EXPECT_EQ(GetBValue(canvas.At(2, 2)), c.expected);
        EXPECT_EQ(GetRValue(canvas.At(0, 0)), c.dest); // outside untouched
    }
}

TEST(PngDraw, EveryAlphaKeepsTheExactEnds) {
    for (unsigned a : {0u, 255u})
        for (unsigned s = 0; s < 256; s += 15)
            for (unsigned d = 0; d < 256; d += 17) {
                auto image = Decode(SolidRgba(1, 1, uint8_t(s), 0, 0, uint8_t(a)));
                Canvas canvas(1, 1, RGB(d, 0, 0));
                image->PaintOnCanvas(canvas.Dc(), TRect{0, 0, 1, 1});
                ASSERT_EQ(GetRValue(canvas.At(0, 0)), a ? s : d) << s << " " << a << " " << d;
            }
}

TEST(PngDraw, AlphaImagesKeepTheirSizeWhileRgbImagesStretch) {
    auto alpha = Decode(SolidRgba(2, 2, 0, 0, 255, 255));
    Canvas first(6, 6, RGB(255, 0, 0));
    alpha->PaintOnCanvas(first.Dc(), TRect{1, 1, 5, 5});
    EXPECT_EQ(first.At(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(first.At(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(first.At(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(first.At(4, 1), RGB(255, 0, 0));

    PngBuilder png;
    png.Ihdr(2, 2, 8, 2)
        .Idat(Deflate(Bytes{0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 255}))
        .Iend();
    auto rgb = Decode(png.Get());
    EXPECT_EQ(rgb->TransparencyKind(), 0);
    Canvas second(6, 6, RGB(255, 0, 0));
    rgb->PaintOnCanvas(second.Dc(), TRect{1, 1, 5, 5});
    EXPECT_EQ(second.At(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(second.At(4, 4), RGB(0, 0, 255));
    EXPECT_EQ(second.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(second.At(5, 5), RGB(255, 0, 0));
}

TEST(PngDraw, MaskedRgbLeavesTheKeyColourOut) {
    // Left column pure green (the key), right column blue.
    PngBuilder png;
    png.Ihdr(2, 2, 8, 2).Chunk("tRNS", {0, 0, 0, 255, 0, 0});
    png.Idat(Deflate(Bytes{0, 0, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255})).Iend();
    auto image = Decode(png.Get());
    EXPECT_EQ(image->TransparencyKind(), 1);
    for (int scale : {1, 3}) {
        Canvas canvas(8, 8, RGB(255, 0, 0));
        image->PaintOnCanvas(canvas.Dc(), TRect{1, 1, 1 + 2 * scale, 1 + 2 * scale});
        SCOPED_TRACE(scale);
        for (int y = 1; y < 1 + 2 * scale; ++y) {
            EXPECT_EQ(canvas.At(1, y), RGB(255, 0, 0));
            EXPECT_EQ(canvas.At(2 * scale, y), RGB(0, 0, 255));
        }
    }
}

TEST(PngDraw, PaletteTransparency) {
    // Index 0 red-ish, index 1 blue; pixels 0, 1.
    const Bytes palette{200, 10, 10, 0, 0, 255};
    {
        PngBuilder png;
        png.Ihdr(2, 1, 8, 3).Chunk("PLTE", palette).Chunk("tRNS", {0});
        auto image = Decode(png.Idat(Deflate(Bytes{0, 0, 1})).Iend().Get());
        EXPECT_EQ(image->TransparencyKind(), 1);
        Canvas canvas(2, 1, RGB(0, 255, 0));
        image->PaintOnCanvas(canvas.Dc(), TRect{0, 0, 2, 1});
        EXPECT_EQ(canvas.At(0, 0), RGB(0, 255, 0));
        EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 255));
    }
    {
        PngBuilder png;
        png.Ihdr(2, 1, 8, 3).Chunk("PLTE", palette).Chunk("tRNS", {0, 128});
        auto image = Decode(png.Idat(Deflate(Bytes{0, 0, 1})).Iend().Get());
        EXPECT_EQ(image->TransparencyKind(), 2);
        Canvas canvas(2, 1, RGB(0, 0, 0));
        image->PaintOnCanvas(canvas.Dc(), TRect{0, 0, 2, 1});
        EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 128));
    }
    {
        // One entry below 255 but above 0: blended, not masked by a key.
        PngBuilder png;
        png.Ihdr(2, 1, 8, 3).Chunk("PLTE", palette).Chunk("tRNS", {255, 128});
        auto image = Decode(png.Idat(Deflate(Bytes{0, 0, 1})).Iend().Get());
        Canvas canvas(2, 1, RGB(0, 0, 0));
        image->PaintOnCanvas(canvas.Dc(), TRect{0, 0, 2, 1});
        EXPECT_EQ(canvas.At(0, 0), RGB(200, 10, 10));
        EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 128));
    }
    {
        // A pixel whose index has no palette entry.
        PngBuilder png;
        png.Ihdr(2, 1, 8, 3).Chunk("PLTE", palette).Chunk("tRNS", {0, 128});
        auto image = Decode(png.Idat(Deflate(Bytes{0, 0, 9})).Iend().Get());
        Canvas canvas(2, 1, RGB(0, 0, 0));
        try {
            image->PaintOnCanvas(canvas.Dc(), TRect{0, 0, 2, 1});
            ADD_FAILURE() << "no error";
        } catch (const EPngError& e) {
            EXPECT_EQ(e.Message(), L"There is no such palette entry.");
        }
    }
}

TEST(PngDraw, GreyWithTransparencyMasksTheShownLevel) {
    // 2-bit grey, key sample 1 (shown as 85): pixels 1, 3.
    PngBuilder png;
    png.Ihdr(2, 1, 2, 0).Chunk("tRNS", {0, 1}).Idat(Deflate(Bytes{0, 0x70})).Iend();
    auto image = Decode(png.Get());
    Canvas canvas(2, 1, RGB(255, 0, 0));
    image->PaintOnCanvas(canvas.Dc(), TRect{0, 0, 2, 1});
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(1, 0), RGB(255, 255, 255));
}

TEST(PngDraw, EmptyImageDrawsNothing) {
    TPngGraphic image;
    Canvas canvas(2, 2, RGB(1, 2, 3));
    image.PaintOnCanvas(canvas.Dc(), TRect{0, 0, 2, 2});
    image.Draw(canvas.Dc(), TRect{0, 0, 2, 2});
    EXPECT_EQ(canvas.At(1, 1), RGB(1, 2, 3));
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
}

TEST(PngDraw, PlainPalette) {
    PngBuilder png;
    png.Ihdr(2, 1, 1, 3).Chunk("PLTE", {10, 20, 30, 40, 50, 60});
    auto image = Decode(png.Idat(Deflate(Bytes{0, 0x40})).Iend().Get());
    Canvas canvas(2, 1, RGB(0, 0, 0));
    image->PaintOnCanvas(canvas.Dc(), TRect{0, 0, 2, 1});
    EXPECT_EQ(canvas.At(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(canvas.At(1, 0), RGB(40, 50, 60));
}

} // namespace
