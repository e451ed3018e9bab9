// The pin, driven through the hidden settings dialog and preview window in a
// program folder of its own: which background at which weight, Mix.bmp pixel
// by pixel, and every failure path.
#include "tests/compose/WallpaperSetting.h"
#include "compose/BlendRows.h"
#include "tests/compose/MixPixel.h"
#include "compose/PinSequence.h"
#include "compose/Wallpaper.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "tests/file/TempFolder.h"
#include "ui/Application.h"
#include "codec/BmpCodec.h"
#include "platform/FileIO.h"
#include "ui/Picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace tabulon {
namespace {

using testing::TempFolder;

uint32_t PixelOf(const BmpImage& image, int x, int y) {
    const uint8_t* p = image.pixels.data() + size_t(y) * BmpStride24(image.width) + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

BmpImage ReadBmp(const std::wstring& path) {
    const std::string bytes = ReadWholeFile(path);
    return DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// A background file whose pixels tell where they came from; `tint` tells the files apart.
void WriteBackground(const std::wstring& path, int width, int height, uint8_t tint) {
    const size_t stride = BmpStride24(width);
    std::vector<uint8_t> rows(stride * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = rows.data() + size_t(y) * stride + size_t(x) * 3;
            p[0] = uint8_t(x * 7 + y);
            p[1] = uint8_t(y * 3 + tint);
            p[2] = uint8_t(x ^ y ^ tint);
        }
    const std::vector<uint8_t> file = EncodeBmp24(width, height, rows.data(), stride);
    WriteFileReplacing(path,
                       std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
}

using testing::MixPixel;

class Pin : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        savedWallpaper = WallpaperSetting();
        RegisterToolkitGraphics();
        Application.Initialize();
        Application.SetTitle(L"Tabulon");
        Application.CreateForm(DeskBGSetFrm);
        Application.CreateForm(PicPreviewFrm);
    }
    // The wallpaper setting belongs to whoever runs the tests: put it back.
    static void TearDownTestSuite() { InstallDesktopWallpaper(savedWallpaper); }
    static inline std::wstring savedWallpaper;

    void SetUp() override {
        ::CreateDirectoryW((folder / L"source").c_str(), nullptr);
        ::CreateDirectoryW(deskBG.c_str(), nullptr);
        // A fresh start: flag 0, no pictures loaded yet, the failure box recorded.
        DeskBGSetFrm->FormCreate();
        DeskBGSetFrm->DeskBGPath = deskBG;
        DeskBGSetFrm->imgPicBG->Picture().SetGraphic(nullptr);
        DeskBGSetFrm->imgPicMix->Picture().SetGraphic(nullptr);
        PicPreviewFrm->imgPreview->Picture().SetGraphic(nullptr);
        DeskBGSetFrm->ShowLoadFailure = [this](const std::wstring& m) { messages.push_back(m); };
        DeskBGSetFrm->NoteLines.SetText(L"Meeting at three\r\n便签：下午三点开会\r\n");
        InstallSentinelWallpaper();
    }

    void TearDown() override {
        for (const wchar_t* name : {L"A1.bmp", L"A2.bmp", L"Content.bmp", L"Mix.bmp"})
            ::DeleteFileW((deskBG + name).c_str());
        ::RemoveDirectoryW(deskBG.c_str());
        ::RemoveDirectoryW((folder / L"source").c_str());
    }

    void InstallSentinelWallpaper() {
        sentinel = folder / L"sentinel.bmp";
        WriteBackground(sentinel, 4, 4, 0);
        DeskBGSetFrm->SetDesktopWallpaper(sentinel);
        ASSERT_EQ(WallpaperSetting(), sentinel);
    }

    void DoPin() { PinNoteToDesktop(*DeskBGSetFrm, *PicPreviewFrm, folder.Path()); }

    // Mix.bmp is the background file `background` with Content.bmp blended in
    // at (width - 402, 30) at `weight`, each note pixel over the pixel beneath it.
    void ExpectMix(const std::wstring& background, int weight) {
        const BmpImage mix = ReadBmp(deskBG + L"Mix.bmp");
        const BmpImage bg = ReadBmp(deskBG + background);
        const BmpImage note = ReadBmp(deskBG + L"Content.bmp");
        ASSERT_EQ(mix.width, bg.width);
        ASSERT_EQ(mix.height, bg.height);
        ASSERT_EQ(note.width, 350);
        ASSERT_EQ(note.height, 300);
        const int left = bg.width - 402, top = 30;
        int bad = 0;
        for (int y = 0; y < bg.height; ++y) {
            for (int x = 0; x < bg.width; ++x) {
                const int i = x - left, j = y - top;
                uint32_t want = PixelOf(bg, x, y);
                if (i >= 0 && j >= 0 && i < 350 && j < 300)
                    want = MixPixel(PixelOf(note, i, j), want, weight);
                if (PixelOf(mix, x, y) != want && ++bad <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") of Mix.bmp";
            }
        }
        EXPECT_EQ(bad, 0);
    }

    TempFolder folder;
    const std::wstring deskBG = folder / L"source\\DeskTopBG\\";
    std::wstring sentinel;
    std::vector<std::wstring> messages;
};

TEST_F(Pin, AlternatesFirstAndSecondBackgroundAtWeightsTwoAndFour) {
    WriteBackground(deskBG + L"A1.bmp", 800, 400, 10);
    WriteBackground(deskBG + L"A2.bmp", 640, 360, 90);

    DoPin();
    EXPECT_EQ(DeskBGSetFrm->BackgroundFile, folder / L"source\\DeskTopBG\\A1.bmp");
    EXPECT_EQ(DeskBGSetFrm->NotePictureFile, folder / L"source\\DeskTopBG\\Content.bmp");
    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 1);
    ExpectMix(L"A1.bmp", 2);
    EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");

    DoPin();
    EXPECT_EQ(DeskBGSetFrm->BackgroundFile, folder / L"source\\DeskTopBG\\A2.bmp");
    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 0);
    ExpectMix(L"A2.bmp", 4);

    DoPin();
    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 1);
    ExpectMix(L"A1.bmp", 2);
    EXPECT_TRUE(messages.empty());
    // The background pictures themselves are left as loaded.
    EXPECT_EQ(DeskBGSetFrm->imgPicBG->Width(), 800);
    EXPECT_EQ(DeskBGSetFrm->imgPicMix->Width(), 350);
}

TEST_F(Pin, SameSizedBackgroundsKeepNothingOfTheLastComposite) {
    WriteBackground(deskBG + L"A1.bmp", 700, 420, 10);
    WriteBackground(deskBG + L"A2.bmp", 700, 420, 200);
    DoPin();
    ExpectMix(L"A1.bmp", 2);
    DeskBGSetFrm->NoteLines.SetText(L"another note");
    DoPin();
    ExpectMix(L"A2.bmp", 4);
    DoPin();
    ExpectMix(L"A1.bmp", 2);
}

TEST_F(Pin, NarrowBackgroundCutsTheNoteAtTheLeft) {
    WriteBackground(deskBG + L"A1.bmp", 300, 200, 10);
    DoPin();
    ExpectMix(L"A1.bmp", 2);
    EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");
}

TEST_F(Pin, EmptyNoteGivesAPlainPaleYellowNotePicture) {
    WriteBackground(deskBG + L"A1.bmp", 500, 400, 10);
    DeskBGSetFrm->NoteLines.SetText(L"\r\n");
    DoPin();
    const BmpImage note = ReadBmp(deskBG + L"Content.bmp");
    for (int y = 0; y < note.height; ++y)
        for (int x = 0; x < note.width; ++x)
            ASSERT_EQ(PixelOf(note, x, y), 0xFFFFDAu);
    ExpectMix(L"A1.bmp", 2);
}

TEST_F(Pin, MissingSecondBackgroundReportsAndComposesOverTheFirstAtWeightFour) {
    WriteBackground(deskBG + L"A1.bmp", 800, 400, 10);
    DoPin();
    EXPECT_TRUE(messages.empty());

    DoPin(); // A2.bmp is missing
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"加载失败！");
    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 0);
    ExpectMix(L"A1.bmp", 4);
    EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");

    DoPin();
    EXPECT_EQ(messages.size(), 1u);
    ExpectMix(L"A1.bmp", 2);
}

TEST_F(Pin, FirstPinWithoutAnyBackgroundWritesAndInstallsNothing) {
    DoPin(); // A1.bmp is missing
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"加载失败！");
    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 1);
    EXPECT_TRUE(FileExists(deskBG + L"Content.bmp"));
    EXPECT_FALSE(FileExists(deskBG + L"Mix.bmp"));
    EXPECT_EQ(WallpaperSetting(), sentinel);
}

TEST_F(Pin, UnreadableBackgroundKeepsThePreviousPicture) {
    WriteBackground(deskBG + L"A1.bmp", 800, 400, 10);
    DoPin();
    // A2.bmp holds no picture at all.
    WriteFileReplacing(deskBG + L"A2.bmp", "this is not a bitmap");
    DoPin();
    EXPECT_EQ(messages.size(), 1u);
    ExpectMix(L"A1.bmp", 4);
    // A name no picture kind claims fails the same way.
    DeskBGSetFrm->LoadBackgroundPicture(deskBG + L"notes.txt");
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(DeskBGSetFrm->imgPicBG->Picture().Width(), 800);
}

TEST_F(Pin, MissingFolderFailsAtTheNotePictureAndChangesNothing) {
    WriteBackground(deskBG + L"A1.bmp", 800, 400, 10);
    ::DeleteFileW((deskBG + L"A1.bmp").c_str());
    ASSERT_TRUE(::RemoveDirectoryW(deskBG.c_str()));
    try {
        DoPin();
        FAIL() << "the pin went on without its folder";
    } catch (const EFCreateError& e) {
        const std::wstring expected = L"Cannot create file \"" + deskBG + L"Content.bmp\". ";
        EXPECT_EQ(e.Message().substr(0, expected.size()), expected);
    }
    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(WallpaperSetting(), sentinel);
}

TEST_F(Pin, UnwritableMixFailsAfterTheFlipAndInstallsNothing) {
    WriteBackground(deskBG + L"A1.bmp", 800, 400, 10);
    // A folder in Mix.bmp's place cannot be replaced by a file.
    ASSERT_TRUE(::CreateDirectoryW((deskBG + L"Mix.bmp").c_str(), nullptr));
    EXPECT_THROW(DoPin(), EFCreateError);
    ::RemoveDirectoryW((deskBG + L"Mix.bmp").c_str());
    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 1);
    EXPECT_EQ(WallpaperSetting(), sentinel);
}

} // namespace
} // namespace tabulon
