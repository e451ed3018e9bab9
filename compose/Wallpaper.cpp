#include "compose/Wallpaper.h"

#include "compose/CBmp.h"
#include "platform/FileIO.h"
#include "base/LongPath.h"
#include "platform/Handles.h"

namespace tabulon {

int CompositionWeight(int trackBarPosition, int useSecondBackground) {
    return useSecondBackground == 1 ? trackBarPosition : trackBarPosition + 2;
}

void BlendNoteOnto(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x, int y,
                   int beneathX, int beneathY) {
    if (composite.Empty()) return;
    // Handle() takes the bitmaps out of their canvases first: GetDIBits wants
    // them deselected.
    HBITMAP noteBitmap = note.Handle();
    HBITMAP backgroundBitmap = background.Handle();
    BlendBitmaps(noteBitmap, backgroundBitmap, composite.Canvas(), weight, x, y, beneathX,
                 beneathY);
    ::GdiFlush();
}

std::wstring WallpaperPathForSystem(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    const std::wstring extended = ExtendedLengthPath(FullFilePath(path));
    std::wstring shortPath(::GetShortPathNameW(extended.c_str(), nullptr, 0), L'\0');
    if (shortPath.empty()) return path;
    const DWORD n =
        ::GetShortPathNameW(extended.c_str(), shortPath.data(), DWORD(shortPath.size()));
    if (n == 0 || n >= shortPath.size()) return path;
    shortPath.resize(n);
    shortPath = WithoutExtendedPrefix(shortPath);
    return shortPath.size() < MAX_PATH ? shortPath : path;
}

unsigned long InstallDesktopWallpaper(const std::wstring& path) noexcept {
    // SPIF_SENDCHANGE: Explorer redraws the desktop now, not at the next sign-in.
    std::wstring setting;
    try {
        setting = WallpaperPathForSystem(path);
    } catch (...) {
        return ERROR_OUTOFMEMORY;
    }
    if (::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, setting.data(),
                                SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
        return 0;
    const unsigned long code = ::GetLastError();
    return code ? code : ERROR_ACCESS_DENIED;
}

std::optional<std::wstring> CurrentDesktopWallpaper() {
    wchar_t path[MAX_PATH * 2] = {};
    if (!::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 2, path, 0)) return std::nullopt;
    return path;
}

namespace {

// The file's volume serial number and index; false when it cannot be opened.
bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    // Attributes only, sharing everything: works while others hold the file.
    FileHandle file(::CreateFileW(ExtendedLengthPath(FullFilePath(path)).c_str(),
                                  FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.Valid() && ::GetFileInformationByHandle(file.Get(), &info);
}

// The full path with every component in its long form, as far as it exists.
std::wstring LongFullPath(const std::wstring& path) {
    const std::wstring extended = ExtendedLengthPath(FullFilePath(path));
    const DWORD need = ::GetLongPathNameW(extended.c_str(), nullptr, 0);
    if (need == 0) return WithoutExtendedPrefix(extended);
    std::wstring out(need, L'\0');
    const DWORD n = ::GetLongPathNameW(extended.c_str(), out.data(), need);
    if (n == 0 || n >= need) return WithoutExtendedPrefix(extended);
    out.resize(n);
    return WithoutExtendedPrefix(out);
}

} // namespace

bool SameFile(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    if (FileIdentity(a, ia) && FileIdentity(b, ib))
        return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
               ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
    const std::wstring longA = LongFullPath(a), longB = LongFullPath(b);
    return ::CompareStringOrdinal(longA.c_str(), int(longA.size()), longB.c_str(),
                                  int(longB.size()), TRUE) == CSTR_EQUAL;
}

} // namespace tabulon
