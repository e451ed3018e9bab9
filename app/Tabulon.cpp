// The program: registers the picture kinds, creates the three windows (the
// main window first, the two composition windows hidden) and runs the loop.
#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "compose/PreviousWallpaper.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "ui/Application.h"
#include "platform/FileIO.h"
#include "platform/SystemLibrary.h"

#include <windows.h>

using namespace tabulon;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a DLL: never from the program's folder.
    RestrictDllSearchToSystem();
    // The uninstaller's call: no window, no other instance consulted.
    if (HasRestoreWallpaperSwitch(::GetCommandLineW()))
        return RestoreWallpaperCommand(ProgramFolder());
    try {
        RegisterPictureKinds();
        Application.Initialize();
        Application.SetTitle(L"Tabulon");
        Application.CreateForm(MainFrm);
        Application.CreateForm(DeskBGSetFrm);
        Application.CreateForm(PicPreviewFrm);
        Application.Run();
    } catch (const Exception& e) {
        // Only start-up itself gets here (building a window failed). The
        // forms go now, while everything they use is still there, and not
        // among the static objects torn down after WinMain.
        Application.ShowException(e.Message());
        Application.DestroyForms();
        return 1;
    }
    return 0;
}
