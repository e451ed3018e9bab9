// The pin on a 3840 x 2160 screen with the shipped 1920 x 1080 A1.bmp and
// A2.bmp (each fitted to the screen), from the start of the pin button's click
// handler to the return of the wallpaper call, against copying the resulting
// Mix.bmp with one CopyFileW call. Both under the same Wine (or Windows), in
// the same run, interleaved; the best of several runs counts.
#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "compose/PinSequence.h"
#include "compose/ScreenFit.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "ui/Application.h"
#include "codec/BmpCodec.h"
#include "platform/FileIO.h"
#include "platform/FileMapping.h"

#include "bench/PinBench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tabulon;
using tabulon::bench::CopyShipped;
using tabulon::bench::Now;

int main() {
    const int runs = 8;
    const std::wstring deskBG = ProgramFolder() + L"source\\DeskTopBG\\";
    ::CreateDirectoryW((ProgramFolder() + L"source").c_str(), nullptr);
    ::CreateDirectoryW(deskBG.c_str(), nullptr);
    CopyShipped(L"A1.bmp", deskBG + L"A1.bmp");
    CopyShipped(L"A2.bmp", deskBG + L"A2.bmp");
    const Screen screen = WholeScreen(3840, 2160);

    // The note file lives in Data beside the program; without the folder the
    // main window would stop at start-up in the error box.
    ::CreateDirectoryW((ProgramFolder() + L"Data").c_str(), nullptr);
    tabulon::bench::StartProgram(screen);

    double pinBest = 1e30, copyBest = 1e30;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        MainFrm->imgAppToDesk->Click();
        pinBest = std::min(pinBest, Now() - start);

        start = Now();
        ::CopyFileW((deskBG + L"Mix.bmp").c_str(), (deskBG + L"Copy.bmp").c_str(), FALSE);
        copyBest = std::min(copyBest, Now() - start);
    }
    std::printf("pin on 3840x2160, 1920x1080 A1/A2 (click to wallpaper) %8.1f ms   "
                "CopyFileW of Mix.bmp %8.1f ms   "
                "ratio %4.1f x\n",
                pinBest * 1e3, copyBest * 1e3, pinBest / copyBest);

    // Where the time goes: the pin's steps one by one, best of the runs each.
    enum { kRead, kDecode, kLoad, kNote, kFit, kBlend, kEncode, kSave, kInstall, kSteps };
    const char* names[kSteps] = {"map A1.bmp",         "decode it",       "load into imgPicBG",
                                 "note picture",       "fit (resampler)", "compose again",
                                 "encode, own buffer", "write Mix.bmp",   "wallpaper call"};
    double best[kSteps];
    std::fill(best, best + kSteps, 1e30);
    TDeskBGSetFrm& dialog = *DeskBGSetFrm;
    TPicture& composite = PicPreviewFrm->imgPreview->Picture();
    std::vector<uint8_t> decoded(BmpStride24(1920) * 1080, 0);
    std::vector<uint8_t> fitted(BmpStride24(3840) * 2160, 0);
    for (int i = 0; i < runs; ++i) {
        double t[kSteps + 1];
        t[0] = Now();
        {
            // As the load does it: the mapped file, decoded into memory already there.
            const MappedFile file(deskBG + L"A1.bmp");
            t[1] = Now();
            DecodeBmpInto(file.Data(), file.Size(), decoded.data(), BmpStride24(1920));
        }
        t[2] = Now();
        dialog.LoadBackgroundPicture(deskBG + L"A1.bmp");
        t[3] = Now();
        dialog.MakeNotePicture();
        dialog.LoadNotePicture(deskBG + L"Content.bmp");
        t[4] = Now();
        FitToCover(decoded.data(), 1920, 1080, BmpStride24(1920), fitted.data(), 3840, 2160,
                   BmpStride24(3840));
        t[5] = Now();
        ComposeDesktopBackground(dialog, *PicPreviewFrm); // the fit again, and the blend
        t[6] = Now();
        const std::vector<uint8_t> encoded = composite.Bitmap().SaveToBmpBytes();
        t[7] = Now();
        // As the pin writes it: encoded slice by slice into a temporary file,
        // flushed, then put in place.
        composite.Bitmap().SaveToFileReplacing(deskBG + L"Mix.bmp");
        t[8] = Now();
        dialog.SetDesktopWallpaper(deskBG + L"Mix.bmp");
        t[9] = Now();
        for (int k = 0; k < kSteps; ++k)
            best[k] = std::min(best[k], t[k + 1] - t[k]);
    }
    for (int k = 0; k < kSteps; ++k)
        std::printf("  %-20s %8.1f ms\n", names[k], best[k] * 1e3);
    std::printf("  the resampler's share of the pin: %.0f %%\n", 100 * best[kFit] / pinBest);
    std::printf("  (write Mix.bmp encodes as it writes, in 256 KiB slices; the line above is the\n"
                "   encoding into a buffer of its own, which the pin does not do)\n");

    for (const wchar_t* name : {L"A1.bmp", L"A2.bmp", L"Content.bmp", L"Mix.bmp", L"Copy.bmp"})
        ::DeleteFileW((deskBG + name).c_str());
    ::RemoveDirectoryW(deskBG.c_str());
    ::RemoveDirectoryW((ProgramFolder() + L"source").c_str());
    Application.DestroyForms();
    return 0;
}
