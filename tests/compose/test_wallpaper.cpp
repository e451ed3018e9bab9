// The wallpaper composite and the wallpaper setting.
#include "tests/compose/WallpaperSetting.h"
#include "compose/BlendRows.h"
#include "tests/compose/MixPixel.h"
#include "compose/Wallpaper.h"

#include <gtest/gtest.h>

#include <memory>

namespace tabulon {
namespace {

uint32_t PixelAt(const TBitmap& bitmap, int x, int y) {
    const uint8_t* p = bitmap.ScanLine(y) + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

void Fill(TBitmap& bitmap, int width, int height, uint32_t (*pixel)(int, int)) {
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const uint32_t c = pixel(x, y);
            row[3 * x] = uint8_t(c);
            row[3 * x + 1] = uint8_t(c >> 8);
            row[3 * x + 2] = uint8_t(c >> 16);
        }
    }
}

uint32_t NotePixel(int x, int y) {
    return 0xFFFFDA ^ uint32_t((x * 5 + y) & 0x3F);
}
uint32_t BackgroundPixel(int x, int y) {
    return uint32_t(x & 255) << 16 | uint32_t(y & 255) << 8 | uint32_t((x * y) & 255);
}

using testing::MixPixel;

// The composite as the pin builds it: a copy of the background, the note blended in.
void Compose(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x, int y) {
    composite.Assign(background);
    BlendNoteOnto(composite, background, note, weight, x, y);
}

// Every pixel of the composite: the note mixed with the background pixel
// beneath it inside the note's rectangle, the background elsewhere.
void ExpectComposite(const TBitmap& composite, const TBitmap& background, const TBitmap& note,
                     int weight, int x, int y) {
    ASSERT_EQ(composite.Width(), background.Width());
    ASSERT_EQ(composite.Height(), background.Height());
    int bad = 0;
    for (int py = 0; py < background.Height(); ++py) {
        for (int px = 0; px < background.Width(); ++px) {
            const int i = px - x, j = py - y;
            uint32_t want = PixelAt(background, px, py);
            if (i >= 0 && j >= 0 && i < note.Width() && j < note.Height())
                want = MixPixel(PixelAt(note, i, j), want, weight);
            if (PixelAt(composite, px, py) != want && ++bad <= 5)
                ADD_FAILURE() << "pixel (" << px << ", " << py << ")";
        }
    }
    EXPECT_EQ(bad, 0);
}

TEST(Composition, Weight) {
    EXPECT_EQ(CompositionWeight(2, 1), 2); // the pin that loaded the first background
    EXPECT_EQ(CompositionWeight(2, 0), 4); // the pin that loaded the second
}

struct Pictures {
    std::unique_ptr<TBitmap> background = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> note = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> composite = std::make_unique<TBitmap>();
};

TEST(Composition, MixesTheNoteWithTheBackgroundBeneathIt) {
    Pictures p;
    Fill(*p.background, 800, 400, BackgroundPixel);
    Fill(*p.note, 350, 300, NotePixel);
    const int x = 800 - 402;
    for (int weight : {2, 4}) {
        Compose(*p.composite, *p.background, *p.note, weight, x, 30);
        ExpectComposite(*p.composite, *p.background, *p.note, weight, x, 30);
    }
    // The background itself is left as it was.
    EXPECT_EQ(PixelAt(*p.background, 500, 100), BackgroundPixel(500, 100));
}

TEST(Composition, NarrowOrLowBackgroundCutsTheNote) {
    Pictures p;
    Fill(*p.background, 300, 200, BackgroundPixel);
    Fill(*p.note, 350, 300, NotePixel);
    const int x = 300 - 402;
    ASSERT_LT(x, 0);
    Compose(*p.composite, *p.background, *p.note, 2, x, 30);
    ExpectComposite(*p.composite, *p.background, *p.note, 2, x, 30);
}

TEST(Composition, EmptyBackgroundGivesAnEmptyComposite) {
    Pictures p;
    Fill(*p.note, 350, 300, NotePixel);
    Fill(*p.composite, 10, 10, BackgroundPixel);
    Compose(*p.composite, *p.background, *p.note, 2, 0, 30);
    EXPECT_TRUE(p.composite->Empty());
}

TEST(Composition, ComposingAgainStartsFromTheBackground) {
    Pictures p;
    Fill(*p.background, 420, 340, BackgroundPixel);
    Fill(*p.note, 350, 300, NotePixel);
    Compose(*p.composite, *p.background, *p.note, 2, 18, 30);
    Compose(*p.composite, *p.background, *p.note, 4, 18, 30);
    ExpectComposite(*p.composite, *p.background, *p.note, 4, 18, 30);
}

TEST(Wallpaper, NamesTheFileInTheUserProfile) {
    const std::wstring before = WallpaperSetting();
    TBitmap bitmap;
    Fill(bitmap, 16, 16, BackgroundPixel);
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"tabulon-wallpaper-test.bmp";
    bitmap.SaveToFile(path);
    InstallDesktopWallpaper(path);
    EXPECT_EQ(WallpaperSetting(), path);
    // A file the system cannot use reports nothing.
    InstallDesktopWallpaper(L"Z:\\no\\such\\folder\\Mix.bmp");
    InstallDesktopWallpaper(L"");
    InstallDesktopWallpaper(before);
    ::DeleteFileW(path.c_str());
}

} // namespace
} // namespace tabulon
