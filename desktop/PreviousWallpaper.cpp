#include "desktop/PreviousWallpaper.h"

#include "desktop/SystemWallpaper.h"
#include "base/LongPath.h"
#include "base/Texts.h"
#include "platform/FileIO.h"
#include "platform/SystemError.h"

#include <windows.h>

#include <algorithm>

namespace tabulon {

namespace {

// The primary monitor, or the first one where none says so.
const MonitorPicture* PrimaryOf(const std::vector<MonitorPicture>& monitors) {
    for (const MonitorPicture& m : monitors)
        if (m.primary) return &m;
    return monitors.empty() ? nullptr : &monitors.front();
}

// A setter's refusal (its error code, 0 for none) as EWallpaperError: `what`
// and the system's reason.
void ThrowIfRefused(unsigned long code, const wchar_t* what) {
    if (code) throw EWallpaperError(what + SystemErrorText(code), code);
}

} // namespace

PreviousWallpaper::PreviousWallpaper(const std::wstring& programFolder, std::wstring mixFile)
    : path_(programFolder + kRelativePath), mixFile_(std::move(mixFile)) {}

bool OnPrimaryMonitor(DesktopWallpaper& desktop, const std::wstring& file) {
    const std::vector<MonitorPicture> monitors = desktop.Monitors();
    const MonitorPicture* primary = PrimaryOf(monitors);
    return primary && SameFile(primary->picture, file);
}

std::optional<DesktopRecord> PreviousWallpaper::FreshRecord(DesktopWallpaper& desktop) const {
    const std::vector<MonitorPicture> monitors = desktop.Monitors();
    const MonitorPicture* primary = PrimaryOf(monitors);
    if (primary && SameFile(primary->picture, mixFile_)) return std::nullopt;
    // Whether our composite is in force cannot be told: a record of the
    // user's desktop is worth more than one that knows less.
    if (primary && primary->unreadable && FileExists(path_)) return std::nullopt;
    DesktopRecord record;
    record.position = desktop.Position();
    record.color = desktop.BackgroundColor();
    record.slideshow = desktop.CurrentSlideshow();
    for (const MonitorPicture& m : monitors) {
        if (m.unreadable)
            record.unreadPictures.push_back(m.monitor);
        else if (IsShellWallpaperCache(m.picture))
            record.unknownPictures.push_back(m.monitor);
        else if (!SameFile(m.picture, mixFile_))
            record.pictures.push_back(m);
    }
    return record;
}

bool PreviousWallpaper::RecordBeforePin(DesktopWallpaper& desktop) const {
    const std::optional<DesktopRecord> record = FreshRecord(desktop);
    if (!record) return false;
    WriteFileReplacing(path_, FormatDesktopRecord(*record));
    return true;
}

std::optional<DesktopRecord> PreviousWallpaper::RecordForNextPin(DesktopWallpaper& desktop) const {
    std::optional<DesktopRecord> record = FreshRecord(desktop);
    return record ? record : Recorded();
}

std::optional<DesktopRecord> PreviousWallpaper::Recorded() const {
    if (!FileExists(path_)) return std::nullopt;
    return ParseDesktopRecord(ReadWholeFile(path_));
}

PreviousWallpaper::Restoration PreviousWallpaper::Restore(DesktopWallpaper& desktop,
                                                          bool onlyOverOurs) const {
    using Part = Skipped::Part;
    Restoration done;
    if (onlyOverOurs && !OnPrimaryMonitor(desktop, mixFile_)) {
        done.outcome = Outcome::NotOurs;
        return done;
    }
    const std::optional<DesktopRecord> record = Recorded();
    if (!record) return done;
    const std::vector<MonitorPicture> monitors = desktop.Monitors();
    auto attached = [&monitors](const std::wstring& id) {
        return id.empty() ||
               std::any_of(monitors.begin(), monitors.end(),
                           [&id](const MonitorPicture& m) { return m.monitor == id; });
    };
    // Every part on its own: one that cannot come back keeps none of the
    // others from it. The colour and the position before the pictures: the
    // classic setting takes its style with the next picture.
    if (record->color)
        if (const unsigned long code = desktop.SetBackgroundColor(*record->color))
            done.skipped.push_back({Part::Color, {}, code});
    if (record->position)
        if (const unsigned long code = desktop.SetPosition(*record->position))
            done.skipped.push_back({Part::Position, {}, code});
    bool sourceKnown = record->unknownPictures.empty();
    for (const MonitorPicture& m : record->pictures) {
        // Older versions recorded the shell's cache as it came.
        if (IsShellWallpaperCache(m.picture)) {
            sourceKnown = false;
        } else if (!attached(m.monitor)) {
            continue;
        } else if (!m.picture.empty() && !FileExists(m.picture)) {
            // Never handed to the system: a missing file could leave a black desktop.
            done.skipped.push_back({Part::Picture, m, 0});
        } else if (const unsigned long code = desktop.SetPicture(m.monitor, m.picture)) {
            done.skipped.push_back({Part::Picture, m, code});
        }
    }
    if (record->slideshow.running) sourceKnown = desktop.ResumeSlideshow(record->slideshow) == 0;
    // Where no picture of the user's came back, our note at least goes,
    // leaving the colour until the user chooses a picture again.
    for (const MonitorPicture& m : desktop.Monitors()) {
        if (!SameFile(m.picture, mixFile_)) continue;
        const bool unread = std::find(record->unreadPictures.begin(), record->unreadPictures.end(),
                                      m.monitor) != record->unreadPictures.end();
        if (unread) done.skipped.push_back({Part::Picture, {m.monitor, L"", m.primary}, 0});
        ThrowIfRefused(desktop.SetPicture(m.monitor, L""), kRestoreFailedText);
        done.noteTakenAway = true;
    }
    // Forgotten once all that can come back is back. While our note stays
    // on the desktop (the system refused to take it off), the record stays
    // for another try.
    ::DeleteFileW(ExtendedLengthPath(FullFilePath(path_)).c_str());
    done.outcome = sourceKnown ? Outcome::Restored : Outcome::RestoredWithoutSource;
    return done;
}

namespace {

// Where a skipped picture was, as the user knows it.
std::wstring PlaceOf(const MonitorPicture& m) {
    if (m.monitor.empty()) return kDesktopPlace;
    return m.primary ? kPrimaryMonitorPlace : kOtherMonitorPlace;
}

} // namespace

std::wstring RestorationText(const PreviousWallpaper::Restoration& restoration) {
    using Outcome = PreviousWallpaper::Outcome;
    using Part = PreviousWallpaper::Skipped::Part;
    if (restoration.outcome == Outcome::NothingRecorded) return kNothingRecordedText;
    std::wstring text;
    if (!restoration.skipped.empty()) text = kPartlyRestoredText;
    for (const PreviousWallpaper::Skipped& s : restoration.skipped) {
        const std::wstring reason = s.refusal ? L"\n" + SystemErrorText(s.refusal) : L"";
        const MonitorPicture& m = s.recorded;
        if (s.part == Part::Color)
            text += ColorNotRestoredText(reason);
        else if (s.part == Part::Position)
            text += PositionNotRestoredText(reason);
        else if (m.picture.empty())
            text += PictureNotRecordedText(PlaceOf(m));
        else if (!s.refusal)
            text += PictureGoneText(PlaceOf(m), m.picture);
        else
            text += PictureNotRestoredText(PlaceOf(m), m.picture, reason);
        text += L"\n\n";
    }
    if (!restoration.skipped.empty() && restoration.noteTakenAway) text += kNoteTakenAwayText;
    if (restoration.outcome == Outcome::RestoredWithoutSource) text += kSourceUnknownText;
    while (!text.empty() && text.back() == L'\n')
        text.pop_back();
    return text;
}

PinOutcome PinToPrimaryMonitor(DesktopWallpaper& desktop, const std::wstring& mixFile) {
    const std::vector<MonitorPicture> monitors = desktop.Monitors();
    const MonitorPicture* primary = PrimaryOf(monitors);
    const bool slideshow = desktop.CurrentSlideshow().running;
    ThrowIfRefused(desktop.SetPosition(WallpaperPosition::Fill), kPinFailedText);
    ThrowIfRefused(desktop.SetPicture(primary ? primary->monitor : L"", mixFile), kPinFailedText);
    return slideshow ? PinOutcome::PinnedStoppingSlideshow : PinOutcome::Pinned;
}

} // namespace tabulon
