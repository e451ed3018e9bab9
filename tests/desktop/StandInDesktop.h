#pragma once
// A desktop held in memory in place of the system's, for the pin's record and
// restore: its monitors, position, colour and slideshow are plain fields.
#include "desktop/DesktopWallpaper.h"

namespace tabulon::testing {

struct StandInDesktop : DesktopWallpaper {
    std::vector<MonitorPicture> monitors;
    WallpaperPosition position = WallpaperPosition::Fill;
    uint32_t color = 0;
    Slideshow slideshow;
    unsigned long refusal = 0;   // every setter's answer when not 0
    std::wstring refusedPicture; // a picture the system will not take (a policy)

    std::vector<MonitorPicture> Monitors() override { return monitors; }
    unsigned long SetPicture(const std::wstring& monitor, const std::wstring& path) override {
        if (refusal) return refusal;
        if (!path.empty() && path == refusedPicture) return 5; // ERROR_ACCESS_DENIED
        for (MonitorPicture& m : monitors)
            if (monitor.empty() || m.monitor == monitor) m = {m.monitor, path, m.primary};
        slideshow.running = false; // a picture set by hand ends the slideshow
        return 0;
    }
    WallpaperPosition Position() override { return position; }
    unsigned long SetPosition(WallpaperPosition p) override {
        if (!refusal) position = p;
        return refusal;
    }
    uint32_t BackgroundColor() override { return color; }
    unsigned long SetBackgroundColor(uint32_t c) override {
        if (!refusal) color = c;
        return refusal;
    }
    Slideshow CurrentSlideshow() override { return slideshow; }
    unsigned long ResumeSlideshow(const Slideshow& s) override {
        if (refusal) return refusal;
        slideshow = s;
        for (MonitorPicture& m : monitors)
            m.picture = L"slide"; // the first slide replaces every picture
        return 0;
    }
};

} // namespace tabulon::testing
