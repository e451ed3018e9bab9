#include "compose/PreviousWallpaper.h"

#include "compose/Wallpaper.h"
#include "compose/uDeskBGSet.h"
#include "base/LongPath.h"
#include "platform/FileIO.h"
#include "platform/SystemError.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

namespace tabulon {

const wchar_t kSlideshowPausedText[] = L"原来的桌面背景是幻灯片放映，添加便签时已暂停。"
                                       L"在“选项”菜单中选择“恢复原来的桌面”即可继续放映。";
const wchar_t kSourceUnknownText[] =
    L"原来的桌面背景是幻灯片放映或 Windows 聚焦，它的图片无法自动恢复。"
    L"请在“设置”→“个性化”→“背景”中重新打开。";

namespace {

// The primary monitor, or the first one where none says so.
const MonitorPicture* PrimaryOf(const std::vector<MonitorPicture>& monitors) {
    for (const MonitorPicture& m : monitors)
        if (m.primary) return &m;
    return monitors.empty() ? nullptr : &monitors.front();
}

void Check(unsigned long code, const wchar_t* what) {
    if (code) throw EWallpaperError(what + SystemErrorText(code), code);
}

const wchar_t kPinFailed[] = L"无法把便签设为桌面背景。";
const wchar_t kRestoreFailed[] = L"无法恢复原来的桌面背景。";

} // namespace

PreviousWallpaper::PreviousWallpaper(const std::wstring& programFolder, std::wstring mixFile)
    : path_(programFolder + kRelativePath), mixFile_(std::move(mixFile)) {}

bool OnPrimaryMonitor(DesktopWallpaper& desktop, const std::wstring& file) {
    const std::vector<MonitorPicture> monitors = desktop.Monitors();
    const MonitorPicture* primary = PrimaryOf(monitors);
    return primary && SameFile(primary->picture, file);
}

bool PreviousWallpaper::RecordBeforePin(DesktopWallpaper& desktop) const {
    const std::vector<MonitorPicture> monitors = desktop.Monitors();
    const MonitorPicture* primary = PrimaryOf(monitors);
    if (primary && SameFile(primary->picture, mixFile_)) return false;
    DesktopRecord record;
    record.position = desktop.Position();
    record.color = desktop.BackgroundColor();
    record.slideshow = desktop.CurrentSlideshow();
    for (const MonitorPicture& m : monitors) {
        if (IsShellWallpaperCache(m.picture))
            record.unknownPictures.push_back(m.monitor);
        else if (!SameFile(m.picture, mixFile_))
            record.pictures.push_back(m);
    }
    WriteFileReplacing(path_, FormatDesktopRecord(record));
    return true;
}

std::optional<DesktopRecord> PreviousWallpaper::Recorded() const {
    if (!FileExists(path_)) return std::nullopt;
    return ParseDesktopRecord(ReadWholeFile(path_));
}

PreviousWallpaper::Outcome PreviousWallpaper::Restore(DesktopWallpaper& desktop,
                                                      bool onlyOverOurs) const {
    if (onlyOverOurs && !OnPrimaryMonitor(desktop, mixFile_)) return Outcome::NotOurs;
    const std::optional<DesktopRecord> record = Recorded();
    if (!record) return Outcome::NothingRecorded;
    const std::vector<MonitorPicture> monitors = desktop.Monitors();
    auto attached = [&monitors](const std::wstring& id) {
        return id.empty() ||
               std::any_of(monitors.begin(), monitors.end(),
                           [&id](const MonitorPicture& m) { return m.monitor == id; });
    };
    // The colour and the position before the pictures: the classic setting
    // takes its style with the next picture.
    if (record->color) Check(desktop.SetBackgroundColor(*record->color), kRestoreFailed);
    if (record->position) Check(desktop.SetPosition(*record->position), kRestoreFailed);
    bool sourceKnown = record->unknownPictures.empty();
    for (const MonitorPicture& m : record->pictures) {
        // Older versions recorded the shell's cache as it came.
        if (IsShellWallpaperCache(m.picture))
            sourceKnown = false;
        else if (attached(m.monitor))
            Check(desktop.SetPicture(m.monitor, m.picture), kRestoreFailed);
    }
    if (record->slideshow.running) sourceKnown = desktop.ResumeSlideshow(record->slideshow) == 0;
    if (!sourceKnown) {
        // No picture of the user's to go back to: our note at least goes,
        // leaving the plain colour until the user turns the source on again.
        for (const MonitorPicture& m : desktop.Monitors())
            if (SameFile(m.picture, mixFile_))
                Check(desktop.SetPicture(m.monitor, L""), kRestoreFailed);
    }
    // Forgotten only once it is back in place: a failed restore can be tried again.
    ::DeleteFileW(ExtendedLengthPath(FullFilePath(path_)).c_str());
    return sourceKnown ? Outcome::Restored : Outcome::RestoredWithoutSource;
}

bool PinToPrimaryMonitor(DesktopWallpaper& desktop, const std::wstring& mixFile) {
    const std::vector<MonitorPicture> monitors = desktop.Monitors();
    const MonitorPicture* primary = PrimaryOf(monitors);
    const bool slideshow = desktop.CurrentSlideshow().running;
    Check(desktop.SetPosition(WallpaperPosition::Fill), kPinFailed);
    Check(desktop.SetPicture(primary ? primary->monitor : L"", mixFile), kPinFailed);
    return slideshow;
}

int RestoreWallpaperCommand(const std::wstring& programFolder) {
    // Called before the application object exists: COM for this call alone.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int code = 0;
    try {
        const PreviousWallpaper previous(programFolder,
                                         BackgroundFolderIn(programFolder) + L"Mix.bmp");
        previous.Restore(*OpenDesktopWallpaper(), true);
    } catch (...) {
        code = 1;
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return code;
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
