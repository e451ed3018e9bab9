#include "compose/Wallpaper.h"

#include "compose/CBmp.h"

namespace tabulon {

int CompositionWeight(int trackBarPosition, int useSecondBackground) {
    return useSecondBackground == 1 ? trackBarPosition : trackBarPosition + 2;
}

int NoteLeft(int backgroundWidth, int noteWidth, int scrollBoxLeft) {
    return backgroundWidth - noteWidth - kNoteRightMargin + scrollBoxLeft;
}

void ComposeWallpaper(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x,
                      int y) {
    composite.Assign(background);
    BlendNoteOnto(composite, background, note, weight, x, y);
}

void BlendNoteOnto(TBitmap& composite, TBitmap& background, TBitmap& note, int weight, int x,
                   int y) {
    if (composite.Empty()) return;
    // Handle() takes the bitmaps out of their canvases first: GetDIBits wants
    // them deselected.
    HBITMAP noteBitmap = note.Handle();
    HBITMAP backgroundBitmap = background.Handle();
    BlendBitmaps(noteBitmap, backgroundBitmap, composite.Canvas(), weight, x, y, x, y);
    ::GdiFlush();
}

void InstallDesktopWallpaper(const std::wstring& path) noexcept {
    // The wallpaper is a nicety: the result is not looked at, so nothing the
    // system says about it stops a pin.
    ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()),
                            SPIF_UPDATEINIFILE);
}

} // namespace tabulon
