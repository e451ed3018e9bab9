// What the two pin benchmarks share: a clock, the shipped backgrounds and the
// program's windows on a screen of the benchmark's size.
#pragma once

#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "ui/Application.h"

#include <windows.h>

#include <string>

namespace tabulon::bench {

inline double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / frequency;
}

inline void CopyShipped(const wchar_t* name, const std::wstring& to) {
    // Under Wine the source tree is on drive Z:.
    const std::string source = "Z:" TABULON_SOURCE_DIR "/resources/DeskTopBG/";
    const std::wstring from(source.begin(), source.end());
    ::CopyFileW((from + name).c_str(), to.c_str(), FALSE);
}

// The three windows as the program creates them, with a note to pin and the
// screen the pins are composed for.
inline void StartProgram(const Screen& screen) {
    RegisterPictureKinds();
    Application.Initialize();
    Application.SetTitle(L"Tabulon");
    Application.CreateForm(MainFrm);
    Application.CreateForm(DeskBGSetFrm);
    Application.CreateForm(PicPreviewFrm);
    MainFrm->rdtMain->SetText(L"Benchmark note\r\n便签：下午三点开会");
    DeskBGSetFrm->MeasureScreen = [screen] { return screen; };
}

} // namespace tabulon::bench
