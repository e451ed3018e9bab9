#include "app/RestoreCommand.h"

#include "desktop/PreviousWallpaper.h"
#include "platform/ComApartment.h"
#include "platform/WorkFolder.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

namespace tabulon {

int RestoreWallpaperCommand(const std::wstring& programFolder) {
    // Called before the application object exists: COM for this call alone.
    const ComApartment com(COINIT_APARTMENTTHREADED);
    int code = kExitRestored;
    try {
        const PreviousWallpaper previous(programFolder,
                                         BackgroundFolderIn(programFolder) + L"Mix.bmp");
        if (previous.Restore(*OpenDesktopWallpaper(), true).Partial()) code = kExitRestoredPartly;
    } catch (...) {
        code = kExitRestoreFailed;
    }
    return code;
}

int WorseRestoreExitCode(int a, int b) {
    if (a == kExitRestoreFailed || b == kExitRestoreFailed) return kExitRestoreFailed;
    return a == kExitRestoredPartly || b == kExitRestoredPartly ? kExitRestoredPartly
                                                                : kExitRestored;
}

bool HasRestoreWallpaperSwitch(const wchar_t* commandLine) {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(commandLine, &count);
    if (!args) return false;
    bool found = false;
    for (int i = 1; i < count && !found; ++i)
        found = ::CompareStringOrdinal(args[i], -1, L"/restorewallpaper", -1, TRUE) == CSTR_EQUAL;
    ::LocalFree(args);
    return found;
}

} // namespace tabulon
