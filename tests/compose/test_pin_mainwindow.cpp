// The pin from the main window: the editor's text reaches the dialog's note
// lines, and a click on the pin button writes Mix.bmp beside this program and
// installs it.
#include "tests/mainwindow/MainWindowStart.h"
#include "tests/desktop/WallpaperSetting.h"
#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "base/DisplayScale.h"
#include "compose/ScreenFit.h"
#include "desktop/ScreenMetrics.h"
#include "desktop/SystemWallpaper.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "ui/Application.h"
#include "codec/BmpCodec.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"

#include <gtest/gtest.h>

#include <vector>

namespace tabulon {
namespace {

class PinFromMainWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        savedWallpaper = WallpaperSetting();
        CreateMainWindow();
        Application.CreateForm(DeskBGSetFrm);
        Application.CreateForm(PicPreviewFrm);
    }
    // The wallpaper setting belongs to whoever runs the tests: put it back.
    static void TearDownTestSuite() { InstallDesktopWallpaper(savedWallpaper); }
    static inline std::wstring savedWallpaper;

    std::vector<std::wstring> NoteLinesFor(const std::wstring& text) {
        MainFrm->rdtMain->SetText(text);
        MainFrm->CopyNoteToDeskBGSet();
        return DeskBGSetFrm->NoteLines.Lines();
    }
};

using Lines = std::vector<std::wstring>;

// source\DeskTopBG\ beside the program with a grey A1.bmp of the given size;
// what a pin writes there, and the recorded wallpaper, go with it.
struct GreyBackground {
    const std::wstring source = ProgramFolder() + L"source\\";
    const std::wstring deskBG = source + L"DeskTopBG\\";
    GreyBackground(int width, int height) {
        ::CreateDirectoryW(source.c_str(), nullptr);
        ::CreateDirectoryW(deskBG.c_str(), nullptr);
        std::vector<uint8_t> rows(BmpStride24(width) * size_t(height), 0x40);
        const std::vector<uint8_t> a1 = EncodeBmp24(width, height, rows.data(), BmpStride24(width));
        WriteFileReplacing(deskBG + L"A1.bmp",
                           std::string_view(reinterpret_cast<const char*>(a1.data()), a1.size()));
    }
    ~GreyBackground() {
        for (const wchar_t* name : {L"A1.bmp", L"Content.bmp", L"Mix.bmp"})
            ::DeleteFileW((deskBG + name).c_str());
        ::RemoveDirectoryW(deskBG.c_str());
        ::RemoveDirectoryW(source.c_str());
        ::DeleteFileW((ProgramFolder() + L"Data\\PreviousWallpaper.txt").c_str());
    }
};

TEST_F(PinFromMainWindow, NoteLinesHoldTheEditorsLines) {
    EXPECT_EQ(NoteLinesFor(L""), Lines{L""});
    EXPECT_EQ(NoteLinesFor(L"one"), Lines{L"one"});
    EXPECT_EQ(NoteLinesFor(L"one\r\ntwo"), (Lines{L"one", L"two"}));
    // A final line break leaves one empty line at the end.
    EXPECT_EQ(NoteLinesFor(L"one\r\ntwo\r\n"), (Lines{L"one", L"two", L""}));
    EXPECT_EQ(NoteLinesFor(L"便签\r第二行"), (Lines{L"便签", L"第二行"}));
    // Copying again replaces the lines.
    EXPECT_EQ(NoteLinesFor(L"x"), Lines{L"x"});
}

TEST_F(PinFromMainWindow, ClickWritesMixBesideTheProgramAndInstallsIt) {
    // The program folder of a test is the folder of its executable.
    const GreyBackground background(640, 480);
    const std::wstring& deskBG = background.deskBG;
    ASSERT_EQ(DeskBGSetFrm->DeskBGPath, deskBG);

    MainFrm->rdtMain->SetText(L"Pinned from the main window");
    MainFrm->imgAppToDesk->Click();

    EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 1);
    const std::string mix = ReadWholeFile(deskBG + L"Mix.bmp");
    const BmpImage image = DecodeBmp(reinterpret_cast<const uint8_t*>(mix.data()), mix.size());
    // Composed for the real screen (the X server's), the grey fitted to it.
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(::GetDeviceCaps(WindowDC(nullptr).Get(), LOGPIXELSX), 96);
    EXPECT_EQ(image.width, w);
    EXPECT_EQ(image.height, h);
    // The note's paper at weight 2 over the grey: 0xDA, 0xFF, 0xFF mixed with 0x40.
    const uint8_t* p = image.pixels.data() + size_t(35) * BmpStride24(w) + size_t(w - 402 + 3) * 3;
    EXPECT_EQ(p[0], 187); // (1.6 * 218 + 0.4 * 64) / 2
    EXPECT_EQ(p[1], 216); // (1.6 * 255 + 0.4 * 64) / 2
    EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");
}

TEST_F(PinFromMainWindow, DisplayChangeMessageComposesForTheNewScreen) {
    const GreyBackground background(640, 360);
    const std::wstring& deskBG = background.deskBG;
    Screen screen = WholeScreen(640, 360);
    DeskBGSetFrm->MeasureScreen = [&screen] { return screen; };
    DeskBGSetFrm->UseSecondBackground = 0;
    MainFrm->rdtMain->SetText(L"Follows the screen");
    MainFrm->imgAppToDesk->Click();
    auto mixSize = [&] {
        const std::string mix = ReadWholeFile(deskBG + L"Mix.bmp");
        const BmpImage image = DecodeBmp(reinterpret_cast<const uint8_t*>(mix.data()), mix.size());
        return std::pair{image.width, image.height};
    };
    EXPECT_EQ(mixSize(), (std::pair{640, 360}));
    auto pump = [] {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    };

    // The screen grows and its DPI rises: each message the system sends for
    // it has the main window compose again once the message has returned,
    // without advancing the alternation.
    for (UINT message : {UINT(WM_DISPLAYCHANGE), UINT(WM_DPICHANGED), UINT(WM_SETTINGCHANGE)}) {
        const Screen before = screen;
        screen = WholeScreen(screen.width + 160, screen.height + 90, screen.dpi + 24);
        ::SendMessageW(MainFrm->Handle(), message, 0, 0);
        EXPECT_EQ(mixSize(), (std::pair{before.width, before.height})) << message;
        pump();
        EXPECT_EQ(mixSize(), (std::pair{screen.width, screen.height})) << message;
        EXPECT_EQ(DeskBGSetFrm->UseSecondBackground, 1);
        EXPECT_EQ(WallpaperSetting(), deskBG + L"Mix.bmp");
    }
    // A burst of them composes once, after the burst.
    int measured = 0;
    DeskBGSetFrm->MeasureScreen = [&] { return ++measured, screen; };
    screen = WholeScreen(800, 450, screen.dpi);
    for (UINT message : {UINT(WM_SETTINGCHANGE), UINT(WM_DISPLAYCHANGE), UINT(WM_SETTINGCHANGE)})
        ::SendMessageW(MainFrm->Handle(), message, 0, 0);
    pump();
    // Once, and once more for the broadcast of our own wallpaper change, which
    // finds the screen composed for and does nothing.
    EXPECT_EQ(measured, 2);
    EXPECT_EQ(mixSize(), (std::pair{800, 450}));
    const std::string note = ReadWholeFile(deskBG + L"Content.bmp");
    EXPECT_EQ(DecodeBmp(reinterpret_cast<const uint8_t*>(note.data()), note.size()).width,
              ScaleLength(350, 96 + 3 * 24));

    DeskBGSetFrm->MeasureScreen = MeasurePrimaryScreen;
}

TEST_F(PinFromMainWindow, SystemMenuOffersTheRestoreAboveTheSeparator) {
    std::vector<std::wstring> captions;
    for (const auto& item : MainFrm->popSysset.Items())
        captions.push_back(item->Caption());
    EXPECT_EQ(captions,
              (std::vector<std::wstring>{L"帮助说明", L"意见反馈", L"历史版本", L"恢复原来的桌面",
                                         L"在我的桌面图片上贴便笺", L"-", L"退出程序"}));
    EXPECT_NE(MainFrm->popSysset.Find("N_RestoreWallpaper"), nullptr);
}

} // namespace
} // namespace tabulon
