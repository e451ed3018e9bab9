// The wallpaper composite as the pin builds it.
#include "compose/PinSequence.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <vector>

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

// One colour each, so that every composite pixel is worked out by hand: the
// note R 255 G 255 B 218 over R 0 G 100 B 50 at weight 2 (80 % note) and 4.
constexpr uint32_t kNote = 0xFFFFDA, kBack = 0x006432;
constexpr uint32_t kMixAt2 = 204u << 16 | 224u << 8 | 184u, kMixAt4 = 153u << 16 | 193u << 8 | 150u;

// The composite as the pin builds it, for the flag as the pin leaves it (1
// after loading the first background), at the background's own size.
TBitmap& Compose(int backgroundWidth, int backgroundHeight, int flag, int trackBar = 2) {
    if (!DeskBGSetFrm) {
        Application.Initialize();
        Application.CreateForm(DeskBGSetFrm);
        Application.CreateForm(PicPreviewFrm);
    }
    Fill(DeskBGSetFrm->imgPicBG->Picture().Bitmap(), backgroundWidth, backgroundHeight,
         [](int, int) { return kBack; });
    Fill(DeskBGSetFrm->imgPicMix->Picture().Bitmap(), 350, 300, [](int, int) { return kNote; });
    DeskBGSetFrm->TrackBar1.Position = trackBar;
    DeskBGSetFrm->UseSecondBackground = flag;
    EXPECT_TRUE(ComposeDesktopBackground(*DeskBGSetFrm, *PicPreviewFrm));
    return PicPreviewFrm->imgPreview->Picture().Bitmap();
}

struct Point {
    int x, y;
    uint32_t rgb;
};

TEST(Composition, TheNoteGoesNearTheTopRightCornerAtTheWeightTheFlagSelects) {
    // 800 x 400: the note covers x 398 to 747 (52 inside the right edge), y 30
    // to 329. 300 x 200: it keeps its left edge and is cut at the right and
    // the bottom. An rgb of 0 stands for the case's mix.
    const std::vector<Point> at800 = {{398, 30, 0},     {747, 329, 0},    {397, 30, kBack},
                                      {748, 30, kBack}, {398, 29, kBack}, {398, 330, kBack}};
    const std::vector<Point> at300 = {{0, 30, 0}, {299, 199, 0}, {0, 29, kBack}};
    struct Case {
        int width, height, flag, trackBar;
        uint32_t mix;
        const std::vector<Point>& points;
    };
    for (const Case& c :
         {Case{800, 400, 1, 2, kMixAt2, at800}, Case{800, 400, 0, 2, kMixAt4, at800},
          Case{800, 400, 1, 0, kNote, at800}, Case{800, 400, 0, 0, kMixAt2, at800},
          Case{300, 200, 1, 2, kMixAt2, at300}}) {
        SCOPED_TRACE(::testing::Message() << c.width << " wide, flag " << c.flag);
        TBitmap& composite = Compose(c.width, c.height, c.flag, c.trackBar);
        ASSERT_EQ(composite.Width(), c.width);
        for (const Point& p : c.points)
            EXPECT_EQ(PixelAt(composite, p.x, p.y), p.rgb ? p.rgb : c.mix) << p.x << ", " << p.y;
    }
    // Composing again starts from the background, which is left as it was.
    EXPECT_EQ(PixelAt(Compose(420, 340, 0), 100, 100), kMixAt4);
    EXPECT_EQ(PixelAt(DeskBGSetFrm->imgPicBG->Picture().Bitmap(), 100, 100), kBack);
    // Without a background there is nothing to compose.
    DeskBGSetFrm->imgPicBG->Picture().SetGraphic(nullptr);
    EXPECT_FALSE(ComposeDesktopBackground(*DeskBGSetFrm, *PicPreviewFrm));
}

} // namespace
} // namespace tabulon
