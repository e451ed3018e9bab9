#pragma once
// The program's start as the window tests need it, in the program's order.
#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "platform/FileIO.h"
#include "ui/Application.h"

namespace tabulon {

// Picture kinds, the application under its title and the main window, not
// yet shown. The note file lives in Data beside the program: without the
// folder the window would stop at start-up in the error box.
inline void CreateMainWindow() {
    RegisterPictureKinds();
    Application.Initialize();
    Application.SetTitle(L"Tabulon");
    ::CreateDirectoryW((ProgramFolder() + L"Data").c_str(), nullptr);
    Application.CreateForm(MainFrm);
}

} // namespace tabulon
