// The pin, driven through the hidden settings dialog and preview window in a
// program folder of its own: which background at which weight, Mix.bmp pixel
// by pixel, and every failure path.
#include "tests/desktop/WallpaperSetting.h"
#include "compose/BlendRows.h"
#include "tests/compose/MixPixel.h"
#include "tests/desktop/StandInDesktop.h"
#include "compose/PinSequence.h"
#include "desktop/PreviousWallpaper.h"
#include "app/RestoreCommand.h"
#include "compose/ScreenFit.h"
#include "desktop/SystemWallpaper.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "tests/platform/TempFolder.h"
#include "ui/Application.h"
#include "codec/BmpCodec.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"
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
        // Unless a test says otherwise, the screen has the background's own
        // size at 96 DPI: the composition of old.
        SetScreen(Screen{});
        ::CreateDirectoryW((folder / L"Data").c_str(), nullptr);
        InstallSentinelWallpaper();
    }

    void TearDown() override {
        for (const wchar_t* name : {L"A1.bmp", L"A2.bmp", L"Content.bmp", L"Mix.bmp"})
            ::DeleteFileW((deskBG + name).c_str());
        ::DeleteFileW(recordFile.c_str());
        ::RemoveDirectoryW((folder / L"Data").c_str());
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
    void SetScreen(const Screen& screen) {
        DeskBGSetFrm->MeasureScreen = [screen] { return screen; };
    }
    PreviousWallpaper Previous() const {
        return PreviousWallpaper(folder.Path(), deskBG + L"Mix.bmp");
    }
    // The recorded picture of the one monitor Wine's classic setting knows.
    std::optional<std::wstring> RecordedPicture() const {
        const std::optional<DesktopRecord> record = Previous().Recorded();
        if (!record || record->pictures.size() != 1) return std::nullopt;
        return record->pictures[0].picture;
    }
    PreviousWallpaper::Outcome Restore() const {
        return Previous().Restore(*OpenDesktopWallpaper(), false).outcome;
    }

    // Mix.bmp has the screen's size; outside the note it is the background
    // fitted to the screen, and each note pixel is Content.bmp blended with
    // the fitted pixel beneath it, the note at `place`.
    void ExpectFittedMix(const std::wstring& background, int weight, const Screen& screen) {
        const BmpImage mix = ReadBmp(deskBG + L"Mix.bmp");
        const BmpImage bg = ReadBmp(deskBG + background);
        const BmpImage note = ReadBmp(deskBG + L"Content.bmp");
        const NotePlacement place = NotePlacementFor(screen);
        ASSERT_EQ(mix.width, screen.width);
        ASSERT_EQ(mix.height, screen.height);
        ASSERT_EQ(note.width, place.width);
        ASSERT_EQ(note.height, place.height);
        BmpImage fitted;
        fitted.pixels.resize(BmpStride24(screen.width) * size_t(screen.height));
        ASSERT_TRUE(FitToCover(bg.pixels.data(), bg.width, bg.height, BmpStride24(bg.width),
                               fitted.pixels.data(), screen.width, screen.height,
                               BmpStride24(screen.width)));
        fitted.width = screen.width;
        int bad = 0;
        for (int y = 0; y < mix.height; ++y) {
            for (int x = 0; x < mix.width; ++x) {
                const int i = x - place.x, j = y - place.y;
                uint32_t want = PixelOf(fitted, x, y);
                if (i >= 0 && j >= 0 && i < note.width && j < note.height)
                    want = MixPixel(PixelOf(note, i, j), want, weight);
                if (PixelOf(mix, x, y) != want && ++bad <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") of Mix.bmp";
            }
        }
        EXPECT_EQ(bad, 0);
    }

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
    const std::wstring recordFile = folder / L"Data\\PreviousWallpaper.txt";
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

TEST_F(Pin, ScreenNarrowerThanTheNoteKeepsItsLeftEdge) {
    // The note starts at the screen's left edge and is cut at the right and
    // the bottom, rather than losing its first characters.
    WriteBackground(deskBG + L"A1.bmp", 300, 200, 10);
    DoPin();
    ASSERT_EQ(NotePlacementFor(WholeScreen(300, 200)).x, 0);
    ExpectFittedMix(L"A1.bmp", 2, WholeScreen(300, 200));
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

TEST_F(Pin, ComposesAtTheScreensSizeWithTheBackgroundFittedAsFillDoes) {
    WriteBackground(deskBG + L"A1.bmp", 480, 270, 10); // 16:9
    WriteBackground(deskBG + L"A2.bmp", 480, 270, 90);
    // 16:10, 21:9 and 4:3 screens, and one of the background's own size.
    const Screen screens[] = {WholeScreen(640, 400), WholeScreen(700, 300), WholeScreen(480, 360),
                              WholeScreen(480, 270)};
    int pins = 0;
    for (const Screen& screen : screens) {
        SetScreen(screen);
        DoPin();
        ++pins;
        ExpectFittedMix(pins % 2 ? L"A1.bmp" : L"A2.bmp", pins % 2 ? 2 : 4, screen);
    }
    EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");
}

TEST_F(Pin, NoteFollowsTheScreensDpiAndWorkArea) {
    WriteBackground(deskBG + L"A1.bmp", 900, 700, 10);
    Screen screen = WholeScreen(900, 700, 144);
    screen.workArea = ScreenRect{0, 40, 860, 700}; // taskbars at the top and the right
    SetScreen(screen);
    DoPin();
    const NotePlacement place = NotePlacementFor(screen);
    EXPECT_EQ(place.width, 525); // 350 x 1.5
    EXPECT_EQ(place.x, 860 - 603);
    EXPECT_EQ(place.y, 40 + 45);
    ExpectFittedMix(L"A1.bmp", 2, screen);
    // The note's text is drawn at the larger size: more rows of ink than at 96 DPI.
    const BmpImage big = ReadBmp(deskBG + L"Content.bmp");
    auto inkRows = [](const BmpImage& note) {
        int rows = 0;
        for (int y = 0; y < note.height; ++y)
            for (int x = 0; x < note.width; ++x)
                if (PixelOf(note, x, y) != 0xFFFFDAu) {
                    ++rows;
                    break;
                }
        return rows;
    };
    SetScreen(WholeScreen(900, 700, 96));
    DoPin();
    const BmpImage small = ReadBmp(deskBG + L"Content.bmp");
    EXPECT_EQ(small.width, 350);
    EXPECT_GT(inkRows(big), inkRows(small) * 5 / 4);
}

TEST_F(Pin, BackgroundsOfAnySizeGiveAWholeNote) {
    const Screen screen = WholeScreen(640, 480);
    SetScreen(screen);
    for (auto [w, h] : {std::pair{1, 1}, std::pair{16384, 1}, std::pair{1, 4000}}) {
        WriteBackground(deskBG + L"A1.bmp", w, h, 10);
        DeskBGSetFrm->UseSecondBackground = 0;
        DoPin();
        ExpectFittedMix(L"A1.bmp", 2, screen);
    }
    EXPECT_TRUE(messages.empty());
    // A header that claims 16384 x 16384 and a file that holds none of it:
    // the load fails and the previous background serves.
    std::string huge = ReadWholeFile(deskBG + L"A1.bmp").substr(0, 54);
    *reinterpret_cast<int32_t*>(&huge[18]) = 16384;
    *reinterpret_cast<int32_t*>(&huge[22]) = 16384;
    WriteFileReplacing(deskBG + L"A1.bmp", huge);
    DeskBGSetFrm->UseSecondBackground = 0;
    DoPin();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"加载失败！");
    EXPECT_EQ(ReadBmp(deskBG + L"Mix.bmp").width, 640);
}

TEST_F(Pin, ADisplayChangeComposesAgainWithoutAdvancing) {
    WriteBackground(deskBG + L"A1.bmp", 800, 450, 10);
    WriteBackground(deskBG + L"A2.bmp", 800, 450, 90);
    SetScreen(WholeScreen(800, 450));
    DoPin();
    // Nothing changed: nothing to do.
    EXPECT_FALSE(RecomposeForNewScreen(*DeskBGSetFrm, *PicPreviewFrm));
    const Screen bigger = WholeScreen(1000, 625, 120);
    SetScreen(bigger);
    EXPECT_TRUE(RecomposeForNewScreen(*DeskBGSetFrm, *PicPreviewFrm));
    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 1);
    ExpectFittedMix(L"A1.bmp", 2, bigger);
    EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");
    // The next pin goes on with the second background.
    DoPin();
    ExpectFittedMix(L"A2.bmp", 4, bigger);
    // Once the user has chosen another wallpaper, ours is left alone.
    InstallSentinelWallpaper();
    SetScreen(WholeScreen(800, 450));
    EXPECT_FALSE(RecomposeForNewScreen(*DeskBGSetFrm, *PicPreviewFrm));
    EXPECT_EQ(WallpaperSetting(), sentinel);
}

TEST_F(Pin, NoDisplayChangeComposesBeforeTheFirstPin) {
    SetScreen(WholeScreen(800, 450));
    EXPECT_FALSE(RecomposeForNewScreen(*DeskBGSetFrm, *PicPreviewFrm));
    EXPECT_FALSE(FileExists(deskBG + L"Mix.bmp"));
}

TEST_F(Pin, RecordsTheWallpaperBeforeTheFirstPinAndRestoresIt) {
    WriteBackground(deskBG + L"A1.bmp", 640, 360, 10);
    WriteBackground(deskBG + L"A2.bmp", 640, 360, 90);
    EXPECT_EQ(Previous().Recorded(), std::nullopt);
    DoPin();
    EXPECT_EQ(RecordedPicture(), sentinel);
    // Our own Mix.bmp in force is never recorded.
    DoPin();
    EXPECT_EQ(RecordedPicture(), sentinel);

    EXPECT_EQ(Restore(), PreviousWallpaper::Outcome::Restored);
    EXPECT_EQ(WallpaperSetting(), sentinel);
    EXPECT_FALSE(FileExists(recordFile));
    EXPECT_EQ(Restore(), PreviousWallpaper::Outcome::NothingRecorded);

    // After a restore the next pin records again; so does a pin after the
    // user chose another wallpaper: that is the one to go back to.
    DoPin();
    EXPECT_EQ(RecordedPicture(), sentinel);
    const std::wstring other = folder / L"其他.bmp";
    WriteBackground(other, 4, 4, 7);
    DeskBGSetFrm->SetDesktopWallpaper(other);
    DoPin();
    EXPECT_EQ(RecordedPicture(), other);
    EXPECT_NE(ReadWholeFile(recordFile).find("\xE5\x85\xB6\xE4\xBB\x96.bmp"),
              std::string::npos); // 其他 in UTF-8
}

// The user's picture laid out ahead (while the user goes on) serves the next
// pin only while its file is as it was then; one changed since is decoded afresh.
TEST_F(Pin, UserPictureLaidOutAheadServesOnlyTheFileAsItWas) {
    const std::wstring mine = folder / L"mine.bmp";
    const auto paint = [&](int width, uint8_t blue) {
        const int height = width * 9 / 16;
        const size_t stride = BmpStride24(width);
        std::vector<uint8_t> rows(stride * size_t(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint8_t* p = rows.data() + size_t(y) * stride + size_t(x) * 3;
                p[0] = blue, p[1] = 100, p[2] = 30;
            }
        const std::vector<uint8_t> file = EncodeBmp24(width, height, rows.data(), stride);
        WriteFileReplacing(
            mine, std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    };
    paint(800, 200);
    auto desktop = std::make_shared<testing::StandInDesktop>();
    desktop->monitors = {{L"primary", mine, true}};
    DeskBGSetFrm->OpenDesktop = [desktop] { return desktop; };
    DeskBGSetFrm->PinOnUserPicture = true;
    SetScreen(WholeScreen(1600, 900));
    // The file changed after the work ahead began, or before it.
    const struct {
        bool changedAfter;
        int width;
        uint8_t blue;
    } steps[] = {{true, 400, 50}, {false, 800, 120}};
    for (const auto& step : steps) {
        if (!step.changedAfter) paint(step.width, step.blue);
        PrepareUserPictureAhead(*DeskBGSetFrm, folder.Path());
        if (step.changedAfter) {
            DeskBGSetFrm->UserPicture->FinishAhead(); // read before the change
            paint(step.width, step.blue);
        }
        DoPin();
        EXPECT_EQ(PixelOf(ReadBmp(deskBG + L"Mix.bmp"), 5, 895), 0x1E6400u | step.blue)
            << int(step.blue);
    }
}

TEST_F(Pin, PlainColourIsRecordedAsAnEmptyPathAndComesBack) {
    WriteBackground(deskBG + L"A1.bmp", 640, 360, 10);
    ASSERT_EQ(InstallDesktopWallpaper(L""), 0u);
    ASSERT_EQ(WallpaperSetting(), L"");
    DoPin();
    EXPECT_EQ(RecordedPicture(), L"");
    EXPECT_EQ(Restore(), PreviousWallpaper::Outcome::Restored);
    EXPECT_EQ(WallpaperSetting(), L"");
}

TEST_F(Pin, RestoreSwitchActsOnlyOverOurMixBmp) {
    WriteBackground(deskBG + L"A1.bmp", 640, 360, 10);
    // Nothing pinned, nothing recorded: nothing to do, and that is no failure.
    EXPECT_EQ(RestoreWallpaperCommand(folder.Path()), 0);
    EXPECT_EQ(WallpaperSetting(), sentinel);
    DoPin();
    // Another wallpaper in force: left as it is.
    const std::wstring other = folder / L"other.bmp";
    WriteBackground(other, 4, 4, 7);
    DeskBGSetFrm->SetDesktopWallpaper(other);
    WriteFileReplacing(recordFile, "");
    EXPECT_EQ(RestoreWallpaperCommand(folder.Path()), 0);
    EXPECT_EQ(WallpaperSetting(), other);
    // Our Mix.bmp in force: the recorded one comes back.
    DoPin();
    EXPECT_EQ(RecordedPicture(), other);
    EXPECT_EQ(RestoreWallpaperCommand(folder.Path()), 0);
    EXPECT_EQ(WallpaperSetting(), other);
    // Our Mix.bmp in force but nothing recorded: Mix.bmp stays.
    DoPin();
    ::DeleteFileW(recordFile.c_str());
    EXPECT_EQ(RestoreWallpaperCommand(folder.Path()), 0);
    EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");
    // A record that cannot be read (another program holds it open) is a failure.
    WriteFileReplacing(recordFile, "");
    FileHandle held(
        ::CreateFileW(recordFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.Valid());
    EXPECT_EQ(RestoreWallpaperCommand(folder.Path()), 1);
    held.Close();
    EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");
    // The recorded picture deleted since: the note goes all the same, and
    // the code tells that not all came back.
    WriteFileReplacing(recordFile, "Z:\\no\\such\\folder\\deleted.bmp");
    EXPECT_EQ(RestoreWallpaperCommand(folder.Path()), 2);
    EXPECT_EQ(WallpaperSetting(), L"");
    EXPECT_FALSE(FileExists(recordFile));
}

TEST_F(Pin, WallpaperTheSystemRefusesIsReportedNotSwallowed) {
    WriteBackground(deskBG + L"A1.bmp", 640, 360, 10);
    auto desktop = std::make_shared<testing::StandInDesktop>();
    desktop->monitors = {{L"primary", sentinel, true}};
    desktop->position = WallpaperPosition::Span;
    desktop->refusal = 5; // ERROR_ACCESS_DENIED, as a policy gives it
    DeskBGSetFrm->OpenDesktop = [desktop] { return desktop; };
    try {
        DoPin();
        FAIL() << "a refused wallpaper passed for a pin that took";
    } catch (const EWallpaperError& e) {
        EXPECT_EQ(e.Message().rfind(L"无法把便签设为桌面背景。", 0), 0u);
        EXPECT_GT(e.Message().size(), 13u); // and the system's reason
    }
    EXPECT_EQ(desktop->monitors[0].picture, sentinel);
    EXPECT_EQ(desktop->position, WallpaperPosition::Span);
}

TEST(RestoreSwitch, IsFoundOnTheCommandLineInAnyCase) {
    EXPECT_TRUE(HasRestoreWallpaperSwitch(L"\"C:\\Program Files\\Tabulon.exe\" /restorewallpaper"));
    EXPECT_TRUE(HasRestoreWallpaperSwitch(L"Tabulon.exe /RestoreWallpaper"));
    EXPECT_FALSE(HasRestoreWallpaperSwitch(L"Tabulon.exe"));
    EXPECT_FALSE(HasRestoreWallpaperSwitch(L"\"C:\\dir /restorewallpaper\\Tabulon.exe\""));
    EXPECT_FALSE(HasRestoreWallpaperSwitch(L"Tabulon.exe /restorewallpaperx"));
}

} // namespace
} // namespace tabulon
