// The Windows 7 desktop: one picture for every monitor through
// SystemParametersInfoW, its position in HKCU\Control Panel\Desktop
// (WallpaperStyle and TileWallpaper, read by the next SPI_SETDESKWALLPAPER),
// the colour as a system colour. No slideshow is visible from here.
#include "desktop/DesktopWallpaper.h"
#include "desktop/SystemWallpaper.h"

#include <windows.h>

namespace tabulon {

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

std::wstring DesktopValue(const wchar_t* name) {
    wchar_t value[16] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, name, RRF_RT_REG_SZ, nullptr, value,
                       &size) != ERROR_SUCCESS)
        return L"";
    return value;
}

LSTATUS SetDesktopValue(const wchar_t* name, const std::wstring& value) {
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, name, REG_SZ, value.c_str(),
                             DWORD((value.size() + 1) * sizeof(wchar_t)));
}

struct StyleValues {
    WallpaperPosition position;
    const wchar_t* style;
};
constexpr StyleValues kStyles[] = {
    {WallpaperPosition::Center, L"0"}, {WallpaperPosition::Stretch, L"2"},
    {WallpaperPosition::Fit, L"6"},    {WallpaperPosition::Fill, L"10"},
    {WallpaperPosition::Span, L"22"},  {WallpaperPosition::Tile, L"0"},
};

class ClassicWallpaper final : public DesktopWallpaper {
  public:
    std::vector<MonitorPicture> Monitors() override {
        const std::optional<std::wstring> picture = CurrentDesktopWallpaper();
        return {MonitorPicture{L"", picture.value_or(L""), true, !picture}};
    }
    unsigned long SetPicture(const std::wstring&, const std::wstring& path) override {
        return InstallDesktopWallpaper(path);
    }
    WallpaperPosition Position() override {
        const std::wstring style = DesktopValue(L"WallpaperStyle");
        if ((style.empty() || style == L"0") && DesktopValue(L"TileWallpaper") == L"1")
            return WallpaperPosition::Tile;
        for (const StyleValues& s : kStyles)
            if (style == s.style) return s.position;
        return WallpaperPosition::Center;
    }
    unsigned long SetPosition(WallpaperPosition position) override {
        for (const StyleValues& s : kStyles) {
            if (s.position != position) continue;
            if (LSTATUS code = SetDesktopValue(L"WallpaperStyle", s.style)) return code;
            return SetDesktopValue(L"TileWallpaper",
                                   position == WallpaperPosition::Tile ? L"1" : L"0");
        }
        return ERROR_INVALID_PARAMETER;
    }
    uint32_t BackgroundColor() override { return ::GetSysColor(COLOR_DESKTOP); }
    unsigned long SetBackgroundColor(uint32_t color) override {
        if (color == BackgroundColor()) return 0;
        const INT element = COLOR_DESKTOP;
        const COLORREF value = color;
        if (!::SetSysColors(1, &element, &value)) return ::GetLastError();
        // SetSysColors lasts for the session only; the profile keeps "R G B".
        const std::wstring rgb = std::to_wstring(GetRValue(value)) + L" " +
                                 std::to_wstring(GetGValue(value)) + L" " +
                                 std::to_wstring(GetBValue(value));
        return ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Colors", L"Background", REG_SZ,
                                 rgb.c_str(), DWORD((rgb.size() + 1) * sizeof(wchar_t)));
    }
    Slideshow CurrentSlideshow() override { return {}; }
    unsigned long ResumeSlideshow(const Slideshow&) override { return ERROR_NOT_SUPPORTED; }
};

} // namespace

std::unique_ptr<DesktopWallpaper> OpenClassicWallpaper() {
    return std::make_unique<ClassicWallpaper>();
}

} // namespace tabulon
