// The pin with a 3840 x 2160 24-bit background, from the start of the pin
// button's click handler to the return of the wallpaper call, against copying
// that background file with one CopyFileW call. Both under the same Wine (or
// Windows), in the same run, interleaved; the best of several runs counts.
#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "compose/PinSequence.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "ui/Application.h"
#include "codec/BmpCodec.h"
#include "platform/FileIO.h"
#include "platform/FileMapping.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tabulon;

namespace {

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / frequency;
}

void WriteBackground(const std::wstring& path, int width, int height, int seed) {
    const size_t stride = BmpStride24(width);
    std::vector<uint8_t> rows(stride * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            rows[size_t(y) * stride + size_t(x)] = uint8_t((x / 3 + y + seed * (x % 3)) >> 3);
    const std::vector<uint8_t> file = EncodeBmp24(width, height, rows.data(), stride);
    WriteFileReplacing(path,
                       std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
}

} // namespace

int main() {
    const int runs = 8;
    const std::wstring deskBG = ProgramFolder() + L"source\\DeskTopBG\\";
    ::CreateDirectoryW((ProgramFolder() + L"source").c_str(), nullptr);
    ::CreateDirectoryW(deskBG.c_str(), nullptr);
    WriteBackground(deskBG + L"A1.bmp", 3840, 2160, 1);
    WriteBackground(deskBG + L"A2.bmp", 3840, 2160, 2);

    // The note file lives in Data beside the program; without the folder the
    // main window would stop at start-up in the error box.
    ::CreateDirectoryW((ProgramFolder() + L"Data").c_str(), nullptr);
    RegisterPictureKinds();
    Application.Initialize();
    Application.SetTitle(L"Tabulon");
    Application.CreateForm(MainFrm);
    Application.CreateForm(DeskBGSetFrm);
    Application.CreateForm(PicPreviewFrm);
    MainFrm->rdtMain->SetText(L"Benchmark note\r\n便签：下午三点开会");

    double pinBest = 1e30, copyBest = 1e30;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        MainFrm->imgAppToDesk->Click();
        pinBest = std::min(pinBest, Now() - start);

        start = Now();
        ::CopyFileW((deskBG + L"A1.bmp").c_str(), (deskBG + L"Copy.bmp").c_str(), FALSE);
        copyBest = std::min(copyBest, Now() - start);
    }
    std::printf("pin 3840x2160 (click to wallpaper) %8.1f ms   CopyFileW of A1.bmp %8.1f ms   "
                "ratio %4.1f x\n",
                pinBest * 1e3, copyBest * 1e3, pinBest / copyBest);

    // Where the time goes: the pin's steps one by one, best of the runs each.
    enum { kRead, kDecode, kLoad, kNote, kAssign, kBlend, kEncode, kSave, kInstall, kSteps };
    const char* names[kSteps] = {"map A1.bmp",         "decode it",          "load into imgPicBG",
                                 "note picture",       "copy to imgPreview", "compose again",
                                 "encode, own buffer", "write Mix.bmp",      "wallpaper call"};
    double best[kSteps];
    std::fill(best, best + kSteps, 1e30);
    TDeskBGSetFrm& dialog = *DeskBGSetFrm;
    TPicture& composite = PicPreviewFrm->imgPreview->Picture();
    std::vector<uint8_t> decoded(BmpStride24(3840) * 2160, 0);
    for (int i = 0; i < runs; ++i) {
        double t[kSteps + 1];
        t[0] = Now();
        {
            // As the load does it: the mapped file, decoded into memory already there.
            const MappedFile file(deskBG + L"A1.bmp");
            t[1] = Now();
            DecodeBmpInto(file.Data(), file.Size(), decoded.data(), BmpStride24(3840));
        }
        t[2] = Now();
        dialog.LoadBackgroundPicture(deskBG + L"A1.bmp");
        t[3] = Now();
        dialog.MakeNotePicture();
        dialog.LoadNotePicture(deskBG + L"Content.bmp");
        t[4] = Now();
        composite.Assign(dialog.imgPicBG->Picture()); // into fresh memory, as on the first pin
        t[5] = Now();
        ComposeDesktopBackground(dialog, *PicPreviewFrm); // a second copy, and the blend
        t[6] = Now();
        const std::vector<uint8_t> encoded = composite.Bitmap().SaveToBmpBytes();
        t[7] = Now();
        composite.SaveToFile(deskBG + L"Mix.bmp");
        t[8] = Now();
        dialog.SetDesktopWallpaper(deskBG + L"Mix.bmp");
        t[9] = Now();
        for (int k = 0; k < kSteps; ++k)
            best[k] = std::min(best[k], t[k + 1] - t[k]);
    }
    for (int k = 0; k < kSteps; ++k)
        std::printf("  %-20s %8.1f ms\n", names[k], best[k] * 1e3);
    std::printf("  (write Mix.bmp encodes as it writes, in 256 KiB slices; the line above is the\n"
                "   encoding into a buffer of its own, which the pin no longer does)\n");

    for (const wchar_t* name : {L"A1.bmp", L"A2.bmp", L"Content.bmp", L"Mix.bmp", L"Copy.bmp"})
        ::DeleteFileW((deskBG + name).c_str());
    ::RemoveDirectoryW(deskBG.c_str());
    ::RemoveDirectoryW((ProgramFolder() + L"source").c_str());
    Application.DestroyForms();
    return 0;
}
