// The pin onto the user's own picture, a 6000 x 4000 JPEG (a phone photo)
// filled onto a 1920 x 1080 screen, against the pin onto the shipped
// backgrounds on the same screen: from the start of the pin button's click
// handler to the return of the wallpaper call, interleaved, best of several
// runs each. Turning the choice on lays the photo out for the screen on a
// thread of its own (as a start with the choice on does), so the first pin
// finds it ready; later ones use that copy while the file stays as it is.
// Last, the worst case: a pin at once after the photo changed, which waits
// for the decode.
// A first pin pays for more than the photo (the record of the desktop, the
// first note picture, fresh buffers): its peer is the first pin onto the
// shipped backgrounds, in a process of its own ("first-shipped").
// Usage: pin_picture_bench_win32 PHOTO.jpg [first-shipped]
#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "desktop/DesktopWallpaper.h"
#include "compose/PictureFile.h"
#include "compose/WallpaperLayout.h"
#include "compose/ScreenFit.h"
#include "desktop/SystemWallpaper.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "ui/Application.h"

#include "bench/PinBench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

using namespace tabulon;
using tabulon::bench::CopyShipped;
using tabulon::bench::Now;

namespace {

double Pin() {
    const double start = Now();
    MainFrm->imgAppToDesk->Click();
    return Now() - start;
}

// The pins onto the photo against those onto the shipped backgrounds.
void MeasurePhoto(const std::wstring& photo, const Screen& screen, TMenuItem& choice) {
    const int runs = 8;
    double start = Now();
    if (!choice.Checked) choice.OnClick(choice);
    DeskBGSetFrm->UserPicture->FinishAhead();
    const double ahead = Now() - start;
    const double first = Pin();
    double picture = 1e30, shipped = 1e30;
    for (int i = 0; i < runs; ++i) {
        picture = std::min(picture, Pin());
        choice.OnClick(choice); // off
        shipped = std::min(shipped, Pin());
        choice.OnClick(choice); // on
    }
    std::printf("pin on 1920x1080: 6000x4000 JPEG filled %8.1f ms   shipped A1/A2 %8.1f ms"
                "   ratio %4.2f x\n",
                picture * 1e3, shipped * 1e3, picture / shipped);
    std::printf("first pin onto the photo %8.1f ms\n", first * 1e3);

    // The photo changed (a newer time): turned off and on, a pin at once.
    FILETIME later;
    ::GetSystemTimeAsFileTime(&later);
    const FileHandle file(::CreateFileW(photo.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ::SetFileTime(file.Get(), nullptr, nullptr, &later);
    choice.OnClick(choice);
    choice.OnClick(choice);
    const double atOnce = Pin();
    std::printf("  laid out ahead in %8.1f ms, while the user goes on;"
                " a pin at once after the photo changed %8.1f ms\n",
                ahead * 1e3, atOnce * 1e3);

    // Where that time goes: the decode, and the layout.
    start = Now();
    const BgrPicture decoded = DecodePictureFile(photo);
    const double decode = Now() - start;
    TBitmap laidOut(screen.width, screen.height);
    start = Now();
    PaintWallpaper(decoded.pixels.data(), decoded.width, decoded.height, decoded.stride,
                   LayOutWallpaper(WallpaperPosition::Fill, decoded.width, decoded.height,
                                   screen.width, screen.height),
                   0, laidOut.ScanLine(0), screen.width, screen.height, laidOut.Stride());
    std::printf("  decode the JPEG %8.1f ms   lay it out (resample) %8.1f ms\n", decode * 1e3,
                (Now() - start) * 1e3);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pin_picture_bench_win32 PHOTO.jpg [first-shipped]\n");
        return 2;
    }
    const bool firstShipped = argc > 2 && std::wstring(argv[2]) == L"first-shipped";
    const std::wstring photo = FullFilePath(argv[1]);
    const std::wstring folder = ProgramFolder();
    const std::wstring deskBG = folder + L"source\\DeskTopBG\\";
    ::CreateDirectoryW((folder + L"source").c_str(), nullptr);
    ::CreateDirectoryW(deskBG.c_str(), nullptr);
    ::CreateDirectoryW((folder + L"Data").c_str(), nullptr);
    CopyShipped(L"A1.bmp", deskBG + L"A1.bmp");
    CopyShipped(L"A2.bmp", deskBG + L"A2.bmp");
    // The photo is the user's wallpaper before the first pin, filled.
    ::DeleteFileW((folder + L"Data\\PreviousWallpaper.txt").c_str());
    OpenClassicWallpaper()->SetPosition(WallpaperPosition::Fill);
    InstallDesktopWallpaper(photo);
    const Screen screen = WholeScreen(1920, 1080);

    tabulon::bench::StartProgram(screen);
    TMenuItem& choice = *MainFrm->popSysset.Find("N_PinOnMyPicture");
    DeskBGSetFrm->ShowNotice = [](const std::wstring&) {};

    if (firstShipped) {
        if (choice.Checked) choice.OnClick(choice);
        std::printf("first pin onto the shipped backgrounds %8.1f ms\n", Pin() * 1e3);
    } else {
        MeasurePhoto(photo, screen, choice);
    }
    if (choice.Checked) choice.OnClick(choice);
    ::DeleteFileW((folder + L"Data\\Settings.txt").c_str());
    ::DeleteFileW((folder + L"Data\\PreviousWallpaper.txt").c_str());
    for (const wchar_t* name : {L"A1.bmp", L"A2.bmp", L"Content.bmp", L"Mix.bmp"})
        ::DeleteFileW((deskBG + name).c_str());
    ::RemoveDirectoryW(deskBG.c_str());
    ::RemoveDirectoryW((folder + L"source").c_str());
    Application.DestroyForms();
    return 0;
}
