#pragma once
// What the desktop looked like before the first pin, as kept in
// "Data\PreviousWallpaper.txt": UTF-8 text, a first line naming the format,
// then one "key=value" line each (a picture per monitor, the position, the
// colour, the slideshow). Versions before it kept the path of the one
// wallpaper alone (empty for a plain colour); such a file still reads, as that
// picture for every monitor with the position left as it is. Lines that do
// not read (a damaged file, a key of a later version) are passed over.
// The desktop's values live here, portable; desktop/DesktopWallpaper.h reads
// and sets them on the system.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

// The values of IDesktopWallpaper's positions.
enum class WallpaperPosition { Center = 0, Tile, Stretch, Fit, Fill, Span };

struct MonitorPicture {
    // The system's name for the monitor; empty where one picture serves all.
    std::wstring monitor;
    // The picture shown there; empty for the plain background colour.
    std::wstring picture;
    bool primary = false;
    // The system did not say which picture it shows (`picture` is empty then).
    bool unreadable = false;
};

struct Slideshow {
    bool running = false;
    // Its folder or pictures, as the system's parsing names.
    std::vector<std::wstring> items;
    uint32_t options = 0; // shuffle and the like, as the system keeps them
    uint32_t tickMs = 0;  // time between slides
};

struct DesktopRecord {
    // The picture of each monitor; `picture` empty for the plain colour.
    std::vector<MonitorPicture> pictures;
    // Monitors whose picture was the shell's own cache (a slideshow's or
    // Windows Spotlight's current picture): its source cannot be known.
    std::vector<std::wstring> unknownPictures;
    // Monitors whose picture the system would not tell: left as they are.
    std::vector<std::wstring> unreadPictures;
    std::optional<WallpaperPosition> position;
    std::optional<uint32_t> color;
    Slideshow slideshow;
};

std::string FormatDesktopRecord(const DesktopRecord& record);
DesktopRecord ParseDesktopRecord(std::string_view utf8);

// Whether `path` is a file the shell keeps for itself rather than the user's
// picture: the transcoded copy of the wallpaper in force, the theme cache,
// Windows Spotlight's asset folders.
bool IsShellWallpaperCache(const std::wstring& path);

} // namespace tabulon
