#pragma once
// How the desktop shows a picture on the primary monitor for each of the
// system's positions: where the (scaled) picture lies, and the background
// colour around it. Used to put the note on the user's own picture as the
// user saw it. Portable arithmetic and pixels only.
#include "desktop/DesktopWallpaper.h"
#include "compose/ScreenFit.h"

#include <cstddef>
#include <cstdint>

namespace tabulon {

// Where the picture lies, in the primary monitor's pixels. `picture` may
// reach beyond the screen (Fill, Centre and Span crop what lies outside).
// When `tiled`, the picture keeps its own size and repeats from that
// rectangle's corner to the right and downwards.
struct PictureLayout {
    ScreenRect picture;
    bool tiled = false;
    bool operator==(const PictureLayout&) const = default;
};

// The layout for `position`, for a picture of pictureWidth x pictureHeight on
// a screen of screenWidth x screenHeight. Scaled sizes are rounded to whole
// pixels (the side that decides the scale matches the screen exactly) and a
// picture that is centred lies at half the difference rounded down. Span
// lays the picture over the whole desktop, `desktop` (every monitor, in the
// primary monitor's pixels: that monitor's corner is (0, 0)), as Fill would,
// and the primary monitor shows its part of it. An empty `desktop` stands for
// the primary monitor alone. Sizes of 0 or less give an empty layout.
PictureLayout LayOutWallpaper(WallpaperPosition position, int pictureWidth, int pictureHeight,
                              int screenWidth, int screenHeight, const ScreenRect& desktop = {});

// Paints `out` (outWidth x outHeight, 24-bit B, G, R rows `outStride` bytes
// apart) as the desktop shows `in` laid out by `layout`: `color` (0x00BBGGRR)
// wherever the picture does not lie, the picture scaled (filtered as in
// compose/Resample.h) or, at its own size, copied. False, with `out`
// incomplete, when the resampler cannot get its working memory.
bool PaintWallpaper(const uint8_t* in, int inWidth, int inHeight, size_t inStride,
                    const PictureLayout& layout, uint32_t color, uint8_t* out, int outWidth,
                    int outHeight, size_t outStride);

} // namespace tabulon
