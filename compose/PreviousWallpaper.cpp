#include "compose/PreviousWallpaper.h"

#include "compose/Wallpaper.h"
#include "compose/uDeskBGSet.h"
#include "platform/FileIO.h"
#include "platform/SystemError.h"

#include <windows.h>

#include <shellapi.h>

namespace tabulon {

namespace {

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(size_t(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr,
                          nullptr);
    return out;
}

std::wstring FromUtf8(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3); // a BOM an editor added
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n'))
        bytes.remove_suffix(1);
    if (bytes.empty()) return {};
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring out(size_t(size > 0 ? size : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), out.data(), size);
    return out;
}

} // namespace

PreviousWallpaper::PreviousWallpaper(const std::wstring& programFolder, std::wstring mixFile)
    : path_(programFolder + kRelativePath), mixFile_(std::move(mixFile)) {}

void PreviousWallpaper::RecordBeforePin() const {
    const std::wstring current = CurrentDesktopWallpaper();
    if (SameFilePath(current, mixFile_)) return;
    WriteFileReplacing(path_, ToUtf8(current));
}

std::optional<std::wstring> PreviousWallpaper::Recorded() const {
    if (!FileExists(path_)) return std::nullopt;
    return FromUtf8(ReadWholeFile(path_));
}

PreviousWallpaper::Outcome PreviousWallpaper::Restore(bool onlyOverOurs) const {
    if (onlyOverOurs && !SameFilePath(CurrentDesktopWallpaper(), mixFile_)) return Outcome::NotOurs;
    const std::optional<std::wstring> recorded = Recorded();
    if (!recorded) return Outcome::NothingRecorded;
    if (const unsigned long code = InstallDesktopWallpaper(*recorded))
        throw EWallpaperError(L"无法恢复原来的桌面背景。" + SystemErrorText(code));
    // Forgotten only once it is back in place: a failed restore can be tried again.
    ::DeleteFileW(path_.c_str());
    return Outcome::Restored;
}

int RestoreWallpaperCommand(const std::wstring& programFolder) {
    try {
        const PreviousWallpaper previous(programFolder,
                                         BackgroundFolderIn(programFolder) + L"Mix.bmp");
        previous.Restore(true);
        return 0;
    } catch (...) {
        return 1;
    }
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
