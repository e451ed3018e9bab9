#pragma once
// The wallpaper composite: the note picture mixed into a copy of the
// background near its top-right corner, and handing the result to the system.
#include "ui/Bitmap.h"
#include "base/Exception.h"

#include <string>

namespace tabulon {

// The note's top edge lies this far below the background's top and its right
// edge this far inside the background's right edge.
constexpr int kNoteTopMargin = 30;
constexpr int kNoteRightMargin = 52;

// The background's share in tenths: the track bar's position on the pin that
// flipped the flag to 1 (the first background), two more on the one that
// flipped it back to 0 (the second background).
int CompositionWeight(int trackBarPosition, int useSecondBackground);

// Left edge of the note in the composite; negative when the background is
// narrower than the note plus its margin.
int NoteLeft(int backgroundWidth, int noteWidth, int scrollBoxLeft = 0);

// Blends `note` into `composite`, a copy of `background`, at (x, y): each
// note pixel is mixed with the background pixel beneath it. Parts of the note
// outside the background are cut. An empty composite stays empty.
void BlendNoteOnto(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x,
                   int y);
// The same with the pixels beneath the note read from `background` at
// (beneathX, beneathY).
void BlendNoteOnto(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x, int y,
                   int beneathX, int beneathY);

// Makes `composite` a copy of `background`, then BlendNoteOnto. A background
// without pixels gives an empty composite.
void ComposeWallpaper(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x,
                      int y);

// "Cannot set the wallpaper" and the system's reason: a pin or a restore
// that did not take.
TABULON_EXCEPTION_CLASS(EWallpaperError);

// Points the desktop wallpaper setting of the user profile at `path` (an
// empty path: a plain colour, never NULL, which would mean the system's
// default picture) and tells the running programs. Returns 0, or the
// system's error code when the system refuses (a policy, a file it cannot
// read).
unsigned long InstallDesktopWallpaper(const std::wstring& path) noexcept;

// The wallpaper in force, empty for a plain colour.
std::wstring CurrentDesktopWallpaper();

// Whether two paths name the same file, by the system's case-insensitive
// comparison of their full forms.
bool SameFilePath(const std::wstring& a, const std::wstring& b);

} // namespace tabulon
