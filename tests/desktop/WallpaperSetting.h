#pragma once
// The desktop wallpaper value of the user profile, as the pin tests read it
// back (empty when there is none).
#include <windows.h>

#include <string>

inline std::wstring WallpaperSetting() {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ,
                       nullptr, value, &size) != ERROR_SUCCESS)
        return L"";
    return value;
}
