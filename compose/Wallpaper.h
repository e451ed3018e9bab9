#pragma once
// The wallpaper composite: the note picture mixed into a copy of the
// background near its top-right corner, and handing the result to the system.
#include "ui/Bitmap.h"
#include "base/Exception.h"

#include <optional>
#include <string>

namespace tabulon {

// The background's share in tenths: the track bar's position on the pin that
// flipped the flag to 1 (the first background), two more on the one that
// flipped it back to 0 (the second background).
int CompositionWeight(int trackBarPosition, int useSecondBackground);

// Blends `note` into `composite`, a copy of `background`, at (x, y): each
// note pixel is mixed with the pixel beneath it, read from `background` at
// (beneathX, beneathY). Parts of the note outside the background are cut. An
// empty composite stays empty.
void BlendNoteOnto(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x, int y,
                   int beneathX, int beneathY);

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

// Whether two paths name the same file: the same volume and file index while
// both exist, else the same long full path (case-insensitive). A short 8.3
// name and the long name of one file are the same file; two empty paths too.
bool SameFile(const std::wstring& a, const std::wstring& b);

} // namespace tabulon
