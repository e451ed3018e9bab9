// The program: registers the picture kinds, creates the three windows (the
// main window first, the two composition windows hidden) and runs the loop.
#include "app/PictureKinds.h"
#include "app/uMain.h"
#include "app/RestoreCommand.h"
#include "base/Texts.h"
#include "compose/uDeskBGSet.h"
#include "compose/uPicPreview.h"
#include "ui/Application.h"
#include "platform/FileIO.h"
#include "platform/SingleInstance.h"
#include "platform/WorkFolder.h"
#include "platform/SystemLibrary.h"

#include <windows.h>

using namespace tabulon;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a DLL: never from the program's folder.
    RestrictDllSearchToSystem();
    // The uninstaller's call: no window, no other instance consulted.
    // Our pictures lie in the program folder or, where that could not be
    // written, under the user's local application data: either may be in force.
    if (HasRestoreWallpaperSwitch(::GetCommandLineW())) {
        int code = RestoreWallpaperCommand(ProgramFolder());
        const std::wstring local = LocalAppDataFolder();
        if (!local.empty())
            code = WorseRestoreExitCode(code, RestoreWallpaperCommand(local + L"Tabulon\\"));
        return code;
    }
    try {
        RegisterPictureKinds();
        Application.Initialize();
        Application.SetTitle(L"Tabulon");
        const WorkFolderChoice work =
            SetUpWorkFolder(ProgramFolder(), LocalAppDataFolder(), FolderWritable);
        // One program per note: a second start brings the first one's window
        // back. Should none answer, this one takes its place if the first
        // has ended meanwhile, and otherwise says why it does not start.
        SingleInstance instance(work.folder);
        if (!instance.First()) {
            if (instance.WakeFirst(Application.Handle())) return 0;
            if (!instance.TakeOver()) {
                Application.ShowNotice(NoteOpenElsewhereText(work.folder + L"Data\\content.ini"));
                return 0;
            }
        }
        if (work.firstMove)
            Application.ShowNotice(
                WorkFolderMovedText(work.folder, work.folder + L"Data\\content.ini"));
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
