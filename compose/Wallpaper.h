#pragma once
// The wallpaper composite: the note picture mixed into a copy of the
// background near its top-right corner, and handing the result to the system.
#include "ui/Bitmap.h"

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

// Makes `composite` a copy of `background`, then BlendNoteOnto. A background
// without pixels gives an empty composite.
void ComposeWallpaper(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x,
                      int y);

// Points the desktop wallpaper setting of the user profile at `path` (no
// change notification is broadcast). Every failure, including a refusal by
// the system, is ignored.
void InstallDesktopWallpaper(const std::wstring& path) noexcept;

} // namespace tabulon
