#pragma once
// The wallpaper is composed at the size of the screen it is shown on: the
// background is fitted to it as the desktop's "Fill" style would (scaled to
// cover, centred, the overflow cropped) and the note is scaled to the screen's
// DPI and kept inside its work area. Portable arithmetic and pixels only.
#include "base/Screen.h"

#include <cstddef>
#include <cstdint>

namespace tabulon {

// A screen of that size at `dpi` with no taskbar.
Screen WholeScreen(int width, int height, int dpi = 96);

// How a picture covers a screen: every pixel is scaled by `scale`, and the
// scaled picture's top-left corner lies `cropX`, `cropY` pixels (of the
// screen) to the left of and above the screen's. At most one of the two is
// non-zero, and the picture is centred on the other axis.
struct FillCrop {
    double scale = 1;
    double cropX = 0, cropY = 0;
};
FillCrop FillCropFor(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight);

// The note on the screen: its picture's size, where it goes, its text area
// and its font's character height, all scaled to the screen's DPI.
struct NotePlacement {
    int width = 350, height = 300;
    int x = 0, y = 30;
    ScreenRect textArea{10, 20, 340, 310}; // inside the note picture
    int fontHeight = 13;                   // 10 points
};
// 52 pixels (at 96 DPI) inside the work area's right edge and 30 below its
// top; never left of the work area's left edge.
NotePlacement NotePlacementFor(const Screen& screen);

// Fills `out` (outWidth x outHeight, 24-bit rows `outStride` bytes apart)
// with `in` scaled to cover it, centred, as FillCropFor says. A picture of
// the screen's own size is copied unchanged, one that needs only cropping
// is cropped without filtering. Returns false, leaving `out`
// as it was, when the resampler cannot get its working memory.
bool FitToCover(const uint8_t* in, int inWidth, int inHeight, size_t inStride, uint8_t* out,
                int outWidth, int outHeight, size_t outStride);

} // namespace tabulon
