#pragma once
// The desktop the user had before pinning, kept so that it can come back:
// "Data\PreviousWallpaper.txt" under the program folder (format in
// codec/DesktopRecord.h), no file for nothing recorded. Written whole
// through a temporary file, as the note is.
#include "codec/DesktopRecord.h"
#include "desktop/DesktopWallpaper.h"
#include "desktop/SystemWallpaper.h"

#include <optional>
#include <string>
#include <vector>

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
    // never taken for a picture of the user's; a monitor whose picture the
    // system would not tell is recorded as such (and an earlier record kept
    // when that is the primary monitor). True when it recorded. Throws
    // EFCreateError when the record cannot be written.
    bool RecordBeforePin(DesktopWallpaper& desktop) const;

    // The record, or nothing. Throws EFOpenError when a record exists but
    // cannot be read.
    std::optional<DesktopRecord> Recorded() const;
    // The record the next pin will compose with: the one RecordBeforePin
    // would make now, or the one it keeps. Writes nothing.
    std::optional<DesktopRecord> RecordForNextPin(DesktopWallpaper& desktop) const;

    enum class Outcome {
        Restored,
        // All put back but a picture whose source was the shell's cache
        // (a slideshow or Spotlight that could not be resumed): the user
        // turns it on again in the system's settings.
        RestoredWithoutSource,
        NothingRecorded,
        NotOurs,
    };
    // A part of the record the restore could not put back.
    struct Skipped {
        enum class Part { Picture, Color, Position } part = Part::Picture;
        // For a picture: its monitor and file (empty when the pin could not
        // read which picture the monitor showed).
        MonitorPicture recorded;
        // The system's refusal; 0 for a picture whose file is gone or unknown.
        unsigned long refusal = 0;
    };
    struct Restoration {
        Outcome outcome = Outcome::NothingRecorded;
        std::vector<Skipped> skipped;
        // Our note went from a monitor that got no picture of the user's back.
        bool noteTakenAway = false;
        // Restored, but not all of it: a part skipped, or no source to resume.
        bool Partial() const {
            return !skipped.empty() || outcome == Outcome::RestoredWithoutSource;
        }
    };
    // Puts back every part of the recorded desktop that can be put back and
    // skips the others (a picture deleted since, on a share that is offline,
    // or refused by the system); where the primary monitor gets no picture of
    // the user's back, our note goes and the colour shows. Then the record is
    // forgotten, so the next pin records afresh. With `onlyOverOurs`, only
    // while our composite is in force. Throws EWallpaperError when the system
    // will not take our note off the desktop (the record stays for another
    // try), EFOpenError when the record cannot be read.
    Restoration Restore(DesktopWallpaper& desktop, bool onlyOverOurs) const;

  private:
    // What RecordBeforePin writes; nothing when it keeps the record it has.
    std::optional<DesktopRecord> FreshRecord(DesktopWallpaper& desktop) const;
    std::wstring path_;
    std::wstring mixFile_;
};

// Whether `file` is the primary monitor's picture, under any of its names.
bool OnPrimaryMonitor(DesktopWallpaper& desktop, const std::wstring& file);

// Sets the position Fill (the composite has the primary monitor's size) and
// `mixFile` as the primary monitor's picture; the other monitors keep theirs.
// Throws EWallpaperError when the system refuses: a pin that returns has
// pinned, and says whether it stopped a running slideshow on the way (the
// user is told then).
enum class PinOutcome { Pinned, PinnedStoppingSlideshow };
PinOutcome PinToPrimaryMonitor(DesktopWallpaper& desktop, const std::wstring& mixFile);

// What the user is told after a restore: nothing recorded, or what did not
// come back, in one message; empty when all came back.
std::wstring RestorationText(const PreviousWallpaper::Restoration& restoration);

} // namespace tabulon
