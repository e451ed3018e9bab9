#pragma once
// The desktop background as the pin sees it: a picture per monitor, one
// position for all, the background colour and the slideshow. Windows 8 and
// later answer through IDesktopWallpaper; Windows 7 (and Wine, which lacks it)
// through the one wallpaper setting and its registry values. The pin and its
// record work on this interface alone, so a stand-in can take its place.
#include "codec/DesktopRecord.h" // the pictures, position and slideshow

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tabulon {

class DesktopWallpaper {
  public:
    virtual ~DesktopWallpaper() = default;

    // The attached monitors, the primary among them.
    virtual std::vector<MonitorPicture> Monitors() = 0;
    // Setters return 0 or the system's error code (a policy may refuse).
    // An empty `monitor` sets every monitor.
    virtual unsigned long SetPicture(const std::wstring& monitor, const std::wstring& path) = 0;
    virtual WallpaperPosition Position() = 0;
    virtual unsigned long SetPosition(WallpaperPosition position) = 0;
    // 0x00BBGGRR.
    virtual uint32_t BackgroundColor() = 0;
    virtual unsigned long SetBackgroundColor(uint32_t color) = 0;
    virtual Slideshow CurrentSlideshow() = 0;
    // Starts the slideshow again with its items and options.
    virtual unsigned long ResumeSlideshow(const Slideshow& slideshow) = 0;
};

// IDesktopWallpaper where the system has it, else the Windows 7 setting. COM
// must be initialised on the calling thread.
std::unique_ptr<DesktopWallpaper> OpenDesktopWallpaper();
// The Windows 7 setting alone.
std::unique_ptr<DesktopWallpaper> OpenClassicWallpaper();

} // namespace tabulon
