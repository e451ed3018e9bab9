#pragma once
// The wallpaper the user had before pinning, kept so that it can come back:
// "Data\PreviousWallpaper.txt" under the program folder holds its path in
// UTF-8 (no byte-order mark, no line end); an empty file stands for a plain
// colour, no file for nothing recorded. Written whole through a temporary
// file, as the note is.
#include <optional>
#include <string>

namespace tabulon {

class PreviousWallpaper {
  public:
    static constexpr const wchar_t* kRelativePath = L"Data\\PreviousWallpaper.txt";

    // `programFolder` ends with a backslash; `mixFile` is this installation's
    // composite, which is never recorded.
    PreviousWallpaper(const std::wstring& programFolder, std::wstring mixFile);

    const std::wstring& Path() const { return path_; }
    const std::wstring& MixFile() const { return mixFile_; }

    // Before a pin changes the wallpaper: records the wallpaper in force,
    // unless that is our own composite (pinned before, and not changed since).
    // Throws EFCreateError when the record cannot be written.
    void RecordBeforePin() const;

    // The recorded path ("" for a plain colour), or nothing. Throws
    // EFOpenError when a record exists but cannot be read.
    std::optional<std::wstring> Recorded() const;

    enum class Outcome { Restored, NothingRecorded, NotOurs };
    // Installs the recorded wallpaper again and forgets the record, so the
    // next pin records afresh. With `onlyOverOurs`, only while our composite
    // is the wallpaper in force. Throws EWallpaperError when the system
    // refuses, EFOpenError when the record cannot be read.
    Outcome Restore(bool onlyOverOurs) const;

  private:
    std::wstring path_;
    std::wstring mixFile_;
};

// The work of "Tabulon.exe /restorewallpaper" (the uninstaller's call):
// puts the recorded wallpaper back when this installation's Mix.bmp is in
// force. The process's exit code: 0 when done or when there is nothing to do,
// 1 when the record cannot be read or the system refuses.
int RestoreWallpaperCommand(const std::wstring& programFolder);

// Whether the command line asks for that ("/restorewallpaper", any case).
bool HasRestoreWallpaperSwitch(const wchar_t* commandLine);

} // namespace tabulon
