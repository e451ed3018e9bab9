#pragma once
// The blend of two bitmaps: a picture (the note) mixed pixel by pixel with the
// picture beneath it and drawn onto a device context.
#include <windows.h>

namespace tabulon {

// Mixes `first` with the part of `second` whose top-left corner is at
// (secondX, secondY), `weight` tenths of the result coming from `second`
// (clamped to 0..10), and draws the mixture at (x, y) on `target` at the first
// bitmap's full size. The composition passes secondX = x and secondY = y so
// that each note pixel meets the background pixel it covers; parts of that
// area outside `second` mix with black. A first bitmap of zero size, or a
// handle that is not a bitmap, draws nothing. Neither bitmap is modified.
// Throws tabulon::Exception when the work pictures cannot be allocated.
void BlendBitmaps(HBITMAP first, HBITMAP second, HDC target, int weight, int x, int y,
                  int secondX = 0, int secondY = 0);

} // namespace tabulon
