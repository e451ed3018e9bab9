#pragma once
// The one wallpaper setting of the user profile: handing a picture to the
// system, asking which one is in force, and the path as the setting takes it.
#include "base/Exception.h"

#include <optional>
#include <string>

namespace tabulon {

// "Cannot set the wallpaper" and the system's reason: a pin or a restore
// that did not take.
TABULON_EXCEPTION_CLASS(EWallpaperError);

// Points the desktop wallpaper setting of the user profile at `path` (an
// empty path: a plain colour, never NULL, which would mean the system's
// default picture) and tells the running programs. Returns 0, or the
// system's error code when the system refuses (a policy, a file it cannot
// read).
unsigned long InstallDesktopWallpaper(const std::wstring& path) noexcept;

// The wallpaper in force, empty for a plain colour; nothing when the system
// does not say.
std::optional<std::wstring> CurrentDesktopWallpaper();

// The path as the wallpaper setting takes it: the setting holds at most
// MAX_PATH characters, so a longer path goes in its 8.3 form where the volume
// keeps such names (and as it is otherwise, for the system to refuse).
std::wstring WallpaperPathForSystem(const std::wstring& path);

} // namespace tabulon
