#include "compose/Wallpaper.h"

#include "compose/CBmp.h"

namespace tabulon {

int CompositionWeight(int trackBarPosition, int useSecondBackground) {
    return useSecondBackground == 1 ? trackBarPosition : trackBarPosition + 2;
}

void BlendNoteOnto(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x, int y,
                   int beneathX, int beneathY) {
    if (composite.Empty()) return;
    // Handle() takes the bitmaps out of their canvases first: GetDIBits wants
    // them deselected.
    HBITMAP noteBitmap = note.Handle();
    HBITMAP backgroundBitmap = background.Handle();
    BlendBitmaps(noteBitmap, backgroundBitmap, composite.Canvas(), weight, x, y, beneathX,
                 beneathY);
    ::GdiFlush();
}

} // namespace tabulon
