// The blend of two GDI bitmaps drawn onto a device context.
#include "compose/BlendRows.h"
#include "tests/compose/MixPixel.h"
#include "codec/BmpCodec.h"
#include "compose/CBmp.h"
#include "platform/DibHeader.h"
#include "platform/Handles.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tabulon {
namespace {

using PixelFn = std::function<uint32_t(int x, int y)>; // 0x00RRGGBB

// A 24-bit top-down DIB section whose pixels the test reads and writes directly.
struct Picture {
    Picture(int w, int h, const PixelFn& pixel) : width(w), height(h), stride(BmpStride24(w)) {
        BITMAPINFO info = TopDownHeader24(w, h);
        void* p = nullptr;
        bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
        bits = static_cast<uint8_t*>(p);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                Set(x, y, pixel(x, y));
            // Poison the padding: a reader that ignores the stride would show it.
            for (size_t i = size_t(w) * 3; i < stride; ++i)
                bits[size_t(y) * stride + i] = 0xEE;
        }
    }
    uint32_t At(int x, int y) const {
        ::GdiFlush();
        const uint8_t* p = bits + size_t(y) * stride + size_t(x) * 3;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    void Set(int x, int y, uint32_t c) {
        uint8_t* p = bits + size_t(y) * stride + size_t(x) * 3;
        p[0] = uint8_t(c);
        p[1] = uint8_t(c >> 8);
        p[2] = uint8_t(c >> 16);
    }
    std::vector<uint8_t> Bytes() const {
        ::GdiFlush();
        return std::vector<uint8_t>(bits, bits + stride * size_t(height));
    }
    int width, height;
    size_t stride;
    GdiBitmap bitmap;
    uint8_t* bits = nullptr;
};

// A picture with a DC to draw on.
struct Target : Picture {
    Target(int w, int h)
        : Picture(w, h, [](int, int) { return kFill; }), dc(::CreateCompatibleDC(nullptr)),
          select(dc.Get(), bitmap.Get()) {}
    static constexpr uint32_t kFill = 0x123456;
    MemoryDC dc;
    SelectGuard select;
};

using testing::MixPixel;

uint32_t NotePixel(int x, int y) {
    return uint32_t((x * 7) & 255) << 16 | uint32_t((y * 5) & 255) << 8 | uint32_t((x + y) & 255);
}
uint32_t BackgroundPixel(int x, int y) {
    return uint32_t((x * 3 + y) & 255) << 16 | uint32_t(200 - y % 150) << 8 |
           uint32_t((x ^ y) & 255);
}

// Every pixel of `target`: inside the note's rectangle at (x, y) the mix of the
// note with the background pixel at (x + i + dx, y + j + dy) (black outside
// the background), elsewhere the fill.
void ExpectBlended(const Target& target, const Picture& note, const Picture& background, int weight,
                   int x, int y, int dx, int dy) {
    int bad = 0;
    for (int ty = 0; ty < target.height; ++ty) {
        for (int tx = 0; tx < target.width; ++tx) {
            const int i = tx - x, j = ty - y;
            uint32_t want = Target::kFill;
            if (i >= 0 && j >= 0 && i < note.width && j < note.height) {
                const int bx = i + dx, by = j + dy;
                const bool inside =
                    bx >= 0 && by >= 0 && bx < background.width && by < background.height;
                want = MixPixel(note.At(i, j), inside ? background.At(bx, by) : 0, weight);
            }
            if (target.At(tx, ty) != want && ++bad <= 5)
                ADD_FAILURE() << "pixel (" << tx << ", " << ty << "): " << std::hex
                              << target.At(tx, ty) << " != " << want;
        }
    }
    EXPECT_EQ(bad, 0);
}

TEST(BlendBitmaps, Width350MixesEveryPixelWithoutSkew) {
    Picture note(350, 40, NotePixel);
    Picture background(350, 40, BackgroundPixel);
    EXPECT_EQ(note.stride, 1052u);
    Target target(350, 40);
    for (int weight : {2, 4}) {
        BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), weight, 0, 0);
        ExpectBlended(target, note, background, weight, 0, 0, 0, 0);
    }
}

TEST(BlendBitmaps, LeavesBothInputsUnchanged) {
    Picture note(37, 11, NotePixel);
    Picture background(50, 20, BackgroundPixel);
    const auto noteBytes = note.Bytes(), backgroundBytes = background.Bytes();
    Target target(60, 30);
    BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), 3, 5, 5, 5, 5);
    EXPECT_EQ(note.Bytes(), noteBytes);
    EXPECT_EQ(background.Bytes(), backgroundBytes);
}

TEST(BlendBitmaps, XAndYOnlyMoveTheResult) {
    Picture note(21, 13, NotePixel);
    Picture background(60, 40, BackgroundPixel);
    Target target(60, 40);
    BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), 2, 17, 9);
    ExpectBlended(target, note, background, 2, 17, 9, 0, 0);
}

TEST(BlendBitmaps, MixesWithTheAreaBeneathWhenGivenItsOrigin) {
    Picture note(21, 13, NotePixel);
    Picture background(61, 41, BackgroundPixel);
    Target target(61, 41);
    BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), 4, 30, 20, 30, 20);
    ExpectBlended(target, note, background, 4, 30, 20, 30, 20);
}

TEST(BlendBitmaps, PartsOutsideTheBackgroundAreCut) {
    // A background narrower than the note puts the note's left part outside.
    Picture note(35, 30, NotePixel);
    Picture background(20, 50, BackgroundPixel);
    Target target(20, 50);
    BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), 2, -22, 3, -22, 3);
    ExpectBlended(target, note, background, 2, -22, 3, -22, 3);
    // Beyond the bottom-right corner, too.
    Target target2(20, 50);
    BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target2.dc.Get(), 2, 10, 40, 10, 40);
    ExpectBlended(target2, note, background, 2, 10, 40, 10, 40);
}

TEST(BlendBitmaps, AnyWeightFollowsTheFormula) {
    Picture note(9, 7, NotePixel);
    Picture background(9, 7, BackgroundPixel);
    for (int weight = -1; weight <= 11; ++weight) {
        Target target(9, 7);
        BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), weight, 0, 0);
        ExpectBlended(target, note, background, ClampBlendWeight(weight), 0, 0, 0, 0);
    }
}

TEST(BlendBitmaps, NoBitmapDrawsNothing) {
    Picture background(10, 10, BackgroundPixel);
    Target target(10, 10);
    const auto before = target.Bytes();
    BlendBitmaps(nullptr, background.bitmap.Get(), target.dc.Get(), 2, 0, 0);
    GdiBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    BlendBitmaps(reinterpret_cast<HBITMAP>(brush.Get()), background.bitmap.Get(), target.dc.Get(),
                 2, 0, 0);
    EXPECT_EQ(target.Bytes(), before);
}

TEST(BlendBitmaps, UnreadableSecondMixesWithBlack) {
    Picture note(12, 6, NotePixel);
    Target target(12, 6);
    BlendBitmaps(note.bitmap.Get(), nullptr, target.dc.Get(), 4, 0, 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(target.At(x, y), MixPixel(NotePixel(x, y), 0, 4));
}

// A DIB section of `bits` bits per pixel (24 or 32), bottom-up when asked,
// filled from `pixel`, with its pixels also kept as a 24-bit top-down Picture.
struct OtherSection {
    OtherSection(int w, int h, int bits, bool bottomUp, uint32_t (*pixel)(int, int))
        : copy(w, h, pixel) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = bottomUp ? h : -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = WORD(bits);
        info.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
        const size_t stride = (size_t(w) * size_t(bits / 8) + 3) & ~size_t(3);
        for (int y = 0; y < h; ++y) {
            uint8_t* row = static_cast<uint8_t*>(p) + size_t(bottomUp ? h - 1 - y : y) * stride;
            for (int x = 0; x < w; ++x) {
                const uint32_t c = pixel(x, y);
                uint8_t* px = row + size_t(x) * size_t(bits / 8);
                px[0] = uint8_t(c);
                px[1] = uint8_t(c >> 8);
                px[2] = uint8_t(c >> 16);
                if (bits == 32) px[3] = 0;
            }
        }
    }
    Picture copy; // the same pixels, for the expectations
    GdiBitmap bitmap;
};

TEST(BlendBitmaps, ReadsBottomUpSectionsTheRightWayUp) {
    OtherSection note(23, 17, 24, true, NotePixel);
    OtherSection background(50, 40, 24, true, BackgroundPixel);
    Target target(50, 40);
    BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), 2, 20, 11, 20, 11);
    ExpectBlended(target, note.copy, background.copy, 2, 20, 11, 20, 11);
}

// Like the note picture: plain paper at the top and the bottom, so only the
// rows in between tell which way up a section lies.
uint32_t PaperWithText(int x, int y) {
    return y >= 5 && y < 8 && x % 3 == 0 ? 0x102030u + uint32_t(x * 7 + y) : 0xC0FFFFu;
}

TEST(BlendBitmaps, TellsWhichWayUpEvenWhenTopAndBottomRowsMatch) {
    for (bool bottomUp : {false, true}) {
        OtherSection note(23, 17, 24, bottomUp, PaperWithText);
        OtherSection background(50, 40, 24, bottomUp, PaperWithText);
        Target target(50, 40);
        BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), 4, 20, 11, 20, 2);
        ExpectBlended(target, note.copy, background.copy, 4, 20, 11, 20, 2);
    }
}

TEST(BlendBitmaps, ConvertsOtherFormatsAndStillReadsTheAreaBeneath) {
    OtherSection note(23, 17, 32, false, NotePixel);
    OtherSection background(40, 30, 32, true, BackgroundPixel);
    Target target(40, 30);
    BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target.dc.Get(), 4, 25, 20, 25, 20);
    ExpectBlended(target, note.copy, background.copy, 4, 25, 20, 25, 20);
    Target target2(40, 30);
    BlendBitmaps(note.bitmap.Get(), background.bitmap.Get(), target2.dc.Get(), 4, -5, -3, -5, -3);
    ExpectBlended(target2, note.copy, background.copy, 4, -5, -3, -5, -3);
}

TEST(BlendBitmaps, ReadsBitmapsOfOtherDepths) {
    // A device-dependent bitmap as the screen makes it, and a 1-bit one.
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    WindowDC screen(nullptr);
    GdiBitmap note(::CreateCompatibleBitmap(screen.Get(), 8, 8));
    {
        SelectGuard sel(dc.Get(), note.Get());
        GdiBrush brush(::CreateSolidBrush(RGB(255, 255, 255)));
        RECT r{0, 0, 8, 8};
        ::FillRect(dc.Get(), &r, brush.Get());
    }
    GdiBitmap mono(::CreateBitmap(8, 8, 1, 1, nullptr)); // all black
    Target target(8, 8);
    BlendBitmaps(note.Get(), mono.Get(), target.dc.Get(), 2, 0, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(target.At(x, y), 0xCCCCCCu); // 204 each
}

} // namespace
} // namespace tabulon
