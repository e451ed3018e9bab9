// The wallpaper setting of the user profile, as the pin hands it a picture.
#include "tests/desktop/WallpaperSetting.h"
#include "desktop/SystemWallpaper.h"
#include "ui/Bitmap.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

TEST(Wallpaper, NamesTheFileInTheUserProfile) {
    const std::wstring before = WallpaperSetting();
    TBitmap bitmap;
    bitmap.SetSize(16, 16);
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"tabulon-wallpaper-test.bmp";
    bitmap.SaveToFile(path);
    InstallDesktopWallpaper(path);
    EXPECT_EQ(WallpaperSetting(), path);
    // A file the system cannot use reports nothing.
    InstallDesktopWallpaper(L"Z:\\no\\such\\folder\\Mix.bmp");
    InstallDesktopWallpaper(L"");
    InstallDesktopWallpaper(before);
    ::DeleteFileW(path.c_str());
}

} // namespace
} // namespace tabulon
