#pragma once
// The wallpaper composite: the note picture mixed into a copy of the
// background near its top-right corner.
#include "ui/Bitmap.h"

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

} // namespace tabulon
