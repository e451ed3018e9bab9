#include "app/PictureKinds.h"
#include "ui/Bitmap.h"
#include "platform/FileIO.h"
#include "ui/GraphicControls.h"
#include "base/GraphicRegistry.h"
#include "ui/Picture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tabulon {

namespace {

class Pictures : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { RegisterPictureKinds(); }
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"tabulon-pictures-" + std::to_wstring(::GetCurrentProcessId());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::wstring Path(const wchar_t* name) const { return dir_ + L"\\" + name; }

    std::wstring dir_;
};

void Fill(TBitmap& b, COLORREF c) {
    for (int y = 0; y < b.Height(); ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < b.Width(); ++x) {
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
}

COLORREF PixelOf(TBitmap& b, int x, int y) {
    const uint8_t* p = b.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

} // namespace

TEST_F(Pictures, ABitmapSavedAndLoadedKeepsItsPixels) {
    TBitmap b(5, 3);
    Fill(b, RGB(10, 20, 30));
    ::SetPixel(b.Canvas(), 4, 2, RGB(200, 100, 50)); // drawn through the canvas
    b.SaveToFile(Path(L"a.bmp"));
    TPicture p;
    p.LoadFromFile(Path(L"a.bmp"));
    auto* loaded = dynamic_cast<TBitmap*>(p.Graphic());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Width(), 5);
    EXPECT_EQ(loaded->Height(), 3);
    EXPECT_EQ(PixelOf(*loaded, 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(PixelOf(*loaded, 4, 2), RGB(200, 100, 50));
}

TEST_F(Pictures, TheLoaderChoosesTheKindByExtensionInAnyCase) {
    TBitmap b(2, 2);
    b.SaveToFile(Path(L"UPPER.BMP"));
    TPicture p;
    p.LoadFromFile(Path(L"UPPER.BMP"));
    EXPECT_STREQ(p.Graphic()->ClassName(), "TBitmap");
    for (const char* ext : {"bmp", "ico", "emf", "wmf", "jpg", "jpeg", "png"})
        EXPECT_NE(FindFileFormat(std::wstring(ext, ext + strlen(ext))), nullptr) << ext;
}

TEST_F(Pictures, AFailedLoadKeepsThePictureHeldBefore) {
    TPicture p;
    p.Bitmap().SetSize(7, 7);
    EXPECT_THROW(p.LoadFromFile(Path(L"missing.bmp")), EFOpenError);
    WriteFileReplacing(Path(L"note.txt"), "not a picture");
    EXPECT_THROW(p.LoadFromFile(Path(L"note.txt")), EInvalidGraphic);
    WriteFileReplacing(Path(L"bad.bmp"), "BM but not really");
    EXPECT_ANY_THROW(p.LoadFromFile(Path(L"bad.bmp")));
    WriteFileReplacing(Path(L"bad.png"), "\x89PNG\r\n\x1a\n broken");
    EXPECT_ANY_THROW(p.LoadFromFile(Path(L"bad.png")));
    EXPECT_EQ(p.Width(), 7);
    EXPECT_STREQ(p.Graphic()->ClassName(), "TBitmap");
}

TEST_F(Pictures, AskingForTheBitmapReplacesAnotherKindByAnEmptyBitmap) {
    TPicture p;
    TBitmap& fresh = p.Bitmap(); // none held: a new, empty bitmap
    EXPECT_TRUE(fresh.Empty());
    fresh.SetSize(3, 3);
    EXPECT_EQ(&p.Bitmap(), &fresh); // a bitmap held: that one
    p.SetGraphic(FindGraphicClass("TPngGraphic")());
    TBitmap& replaced = p.Bitmap();
    EXPECT_TRUE(replaced.Empty());
    EXPECT_STREQ(p.Graphic()->ClassName(), "TBitmap");
}

TEST_F(Pictures, AssignCopiesSoTheCopyCanBeDrawnOnAlone) {
    TPicture a, b;
    a.Bitmap().SetSize(4, 4);
    Fill(a.Bitmap(), RGB(1, 2, 3));
    b.Assign(a);
    Fill(b.Bitmap(), RGB(9, 9, 9));
    EXPECT_EQ(PixelOf(a.Bitmap(), 1, 1), RGB(1, 2, 3));
    EXPECT_EQ(PixelOf(b.Bitmap(), 1, 1), RGB(9, 9, 9));
}

TEST_F(Pictures, ATransparentBitmapLeavesItsBottomLeftColourOut) {
    TBitmap pic(2, 2);
    Fill(pic, RGB(255, 0, 0));                      // red: the bottom-left colour
    ::SetPixel(pic.Canvas(), 1, 0, RGB(0, 255, 0)); // one green pixel top right
    TBitmap canvas(2, 2);
    Fill(canvas, RGB(0, 0, 255));
    pic.SetTransparent(true);
    pic.Draw(canvas.Canvas(), TRect{0, 0, 2, 2});
    ::GdiFlush();
    EXPECT_EQ(PixelOf(canvas, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(canvas, 0, 1), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(canvas, 1, 0), RGB(0, 255, 0));
    pic.SetTransparent(false);
    pic.Draw(canvas.Canvas(), TRect{0, 0, 2, 2});
    ::GdiFlush();
    EXPECT_EQ(PixelOf(canvas, 0, 0), RGB(255, 0, 0));
}

TEST_F(Pictures, AnAutoSizedImageTakesItsPicturesSize) {
    TImage image("img");
    image.SetBounds(335, 2, 660, 500);
    image.SetAutoSize(true);
    image.Picture().Bitmap().SetSize(350, 300);
    image.Picture().Changed();
    EXPECT_EQ(image.Width(), 350);
    EXPECT_EQ(image.Height(), 300);
    EXPECT_EQ(image.Left(), 335);
}

} // namespace tabulon
