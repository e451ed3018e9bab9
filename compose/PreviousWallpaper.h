#pragma once
// The desktop the user had before pinning, kept so that it can come back:
// "Data\PreviousWallpaper.txt" under the program folder (format in
// compose/DesktopRecord.h), no file for nothing recorded. Written whole
// through a temporary file, as the note is.
#include "compose/DesktopRecord.h"
#include "compose/DesktopWallpaper.h"

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

    // Before a pin changes the desktop: records every monitor's picture, the
    // position, the colour and the slideshow, unless our composite is in
    // force (pinned before, and not changed since). The shell's own cache is
    // never taken for a picture of the user's. True when it recorded. Throws
    // EFCreateError when the record cannot be written.
    bool RecordBeforePin(DesktopWallpaper& desktop) const;

    // The record, or nothing. Throws EFOpenError when a record exists but
    // cannot be read.
    std::optional<DesktopRecord> Recorded() const;

    enum class Outcome {
        Restored,
        // All put back but a picture whose source was the shell's cache
        // (a slideshow or Spotlight that could not be resumed): the user
        // turns it on again in the system's settings.
        RestoredWithoutSource,
        NothingRecorded,
        NotOurs,
    };
    // Puts the recorded desktop back and forgets the record, so the next pin
    // records afresh. With `onlyOverOurs`, only while our composite is in
    // force. Throws EWallpaperError when the system refuses, EFOpenError when
    // the record cannot be read.
    Outcome Restore(DesktopWallpaper& desktop, bool onlyOverOurs) const;

  private:
    std::wstring path_;
    std::wstring mixFile_;
};

// Whether `file` is the primary monitor's picture, under any of its names.
bool OnPrimaryMonitor(DesktopWallpaper& desktop, const std::wstring& file);

// Sets the position Fill (the composite has the primary monitor's size) and
// `mixFile` as the primary monitor's picture; the other monitors keep theirs.
// True when this stopped a running slideshow. Throws EWallpaperError when the
// system refuses.
bool PinToPrimaryMonitor(DesktopWallpaper& desktop, const std::wstring& mixFile);

// Told once when a pin stops a slideshow, and when a restore cannot bring
// back a slideshow's or Spotlight's picture.
extern const wchar_t kSlideshowPausedText[];
extern const wchar_t kSourceUnknownText[];

// The work of "Tabulon.exe /restorewallpaper" (the uninstaller's call):
// puts the recorded desktop back when this installation's Mix.bmp is in
// force. The process's exit code: 0 when done or when there is nothing to do,
// 1 when the record cannot be read or the system refuses.
int RestoreWallpaperCommand(const std::wstring& programFolder);

// Whether the command line asks for that ("/restorewallpaper", any case).
bool HasRestoreWallpaperSwitch(const wchar_t* commandLine);

} // namespace tabulon
