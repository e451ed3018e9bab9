#include "desktop/SystemWallpaper.h"

#include "platform/FileIO.h"

#include <windows.h>

namespace tabulon {

std::wstring WallpaperPathForSystem(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    const std::optional<std::wstring> shortPath = PathInForm(path, PathForm::Short);
    return shortPath && shortPath->size() < MAX_PATH ? *shortPath : path;
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

} // namespace tabulon
