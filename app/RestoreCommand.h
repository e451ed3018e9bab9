#pragma once
// "Tabulon.exe /restorewallpaper", the uninstaller's call: the desktop of
// before the first pin comes back, without a window.
#include <string>

namespace tabulon {

// The exit codes of "Tabulon.exe /restorewallpaper".
enum RestoreExitCode : int {
    kExitRestored = 0,       // put back, or nothing to do
    kExitRestoreFailed = 1,  // the record cannot be read, or the system refuses
    kExitRestoredPartly = 2, // put back, but not all of it
};
// The code of two restores (two folders): the worse of them.
int WorseRestoreExitCode(int a, int b);
// The work of "Tabulon.exe /restorewallpaper" (the uninstaller's call):
// puts the recorded desktop back when this installation's Mix.bmp is in
// force. Returns the process's exit code.
int RestoreWallpaperCommand(const std::wstring& programFolder);

// Whether the command line asks for that ("/restorewallpaper", any case).
bool HasRestoreWallpaperSwitch(const wchar_t* commandLine);

} // namespace tabulon
