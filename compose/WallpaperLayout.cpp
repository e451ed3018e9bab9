#include "compose/WallpaperLayout.h"

#include "compose/Resample.h"

#include <algorithm>
#include <cstring>

namespace tabulon {

namespace {

// Half of n, rounded down, negative n included: a picture one pixel wider
// than the room left over goes one pixel further left.
int FloorHalf(int n) {
    return n >= 0 ? n / 2 : -((1 - n) / 2);
}

// length * num / den to the nearest whole pixel, halves up.
int Scaled(int length, int num, int den) {
    return int((2 * int64_t(length) * num + den) / (2 * int64_t(den)));
}

ScreenRect Centred(int width, int height, int screenWidth, int screenHeight) {
    const int left = FloorHalf(screenWidth - width), top = FloorHalf(screenHeight - height);
    return ScreenRect{left, top, left + width, top + height};
}

// The picture scaled alike on both axes: to cover the screen (`cover`) or to
// fit inside it, centred.
ScreenRect ScaledRect(int w, int h, int screenWidth, int screenHeight, bool cover) {
    // Width decides when screenWidth / w is the larger ratio (cover) or the
    // smaller one (fit); compared as products, with no rounding.
    const int64_t byW = int64_t(screenWidth) * h, byH = int64_t(screenHeight) * w;
    const bool byWidth = cover ? byW >= byH : byW <= byH;
    const int width = byWidth ? screenWidth : Scaled(w, screenHeight, h);
    const int height = byWidth ? Scaled(h, screenWidth, w) : screenHeight;
    return Centred(width, height, screenWidth, screenHeight);
}

} // namespace

PictureLayout LayOutWallpaper(WallpaperPosition position, int pictureWidth, int pictureHeight,
                              int screenWidth, int screenHeight, const ScreenRect& desktop) {
    PictureLayout layout;
    if (pictureWidth <= 0 || pictureHeight <= 0 || screenWidth <= 0 || screenHeight <= 0)
        return layout;
    const int w = pictureWidth, h = pictureHeight;
    switch (position) {
    case WallpaperPosition::Center:
        layout.picture = Centred(w, h, screenWidth, screenHeight);
        break;
    case WallpaperPosition::Tile:
        layout.picture = ScreenRect{0, 0, w, h};
        layout.tiled = true;
        break;
    case WallpaperPosition::Stretch:
        layout.picture = ScreenRect{0, 0, screenWidth, screenHeight};
        break;
    case WallpaperPosition::Fit:
        layout.picture = ScaledRect(w, h, screenWidth, screenHeight, false);
        break;
    case WallpaperPosition::Fill:
        layout.picture = ScaledRect(w, h, screenWidth, screenHeight, true);
        break;
    case WallpaperPosition::Span: {
        const ScreenRect all = desktop.Width() > 0 && desktop.Height() > 0
                                   ? desktop
                                   : ScreenRect{0, 0, screenWidth, screenHeight};
        const ScreenRect r = ScaledRect(w, h, all.Width(), all.Height(), true);
        layout.picture =
            ScreenRect{r.left + all.left, r.top + all.top, r.right + all.left, r.bottom + all.top};
        break;
    }
    }
    return layout;
}

namespace {

void PaintColor(uint32_t color, uint8_t* out, int width, int height, size_t stride) {
    const uint8_t pixel[3] = {uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color)};
    for (int x = 0; x < width; ++x)
        std::memcpy(out + size_t(x) * 3, pixel, 3);
    for (int y = 1; y < height; ++y)
        std::memcpy(out + size_t(y) * stride, out, size_t(width) * 3);
}

// The remainder of n / d in [0, d).
int Wrap(int n, int d) {
    const int r = n % d;
    return r < 0 ? r + d : r;
}

void PaintTiles(const uint8_t* in, int w, int h, size_t inStride, const ScreenRect& origin,
                uint8_t* out, int outWidth, int outHeight, size_t outStride) {
    for (int y = 0; y < outHeight; ++y) {
        const uint8_t* line = in + size_t(Wrap(y - origin.top, h)) * inStride;
        uint8_t* row = out + size_t(y) * outStride;
        for (int x = 0; x < outWidth;) {
            const int from = Wrap(x - origin.left, w);
            const int n = std::min(w - from, outWidth - x);
            std::memcpy(row + size_t(x) * 3, line + size_t(from) * 3, size_t(n) * 3);
            x += n;
        }
    }
}

} // namespace

bool PaintWallpaper(const uint8_t* in, int inWidth, int inHeight, size_t inStride,
                    const PictureLayout& layout, uint32_t color, uint8_t* out, int outWidth,
                    int outHeight, size_t outStride) {
    if (outWidth <= 0 || outHeight <= 0) return true;
    const ScreenRect& r = layout.picture;
    if (inWidth <= 0 || inHeight <= 0 || r.Width() <= 0 || r.Height() <= 0) {
        PaintColor(color, out, outWidth, outHeight, outStride);
        return true;
    }
    if (layout.tiled) {
        PaintTiles(in, inWidth, inHeight, inStride, r, out, outWidth, outHeight, outStride);
        return true;
    }
    const ScreenRect clip{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, outWidth),
                          std::min(r.bottom, outHeight)};
    // Colour only where the picture leaves room: the bands of Fit and Centre.
    if (clip != ScreenRect{0, 0, outWidth, outHeight})
        PaintColor(color, out, outWidth, outHeight, outStride);
    if (clip.Width() <= 0 || clip.Height() <= 0) return true;
    uint8_t* target = out + size_t(clip.top) * outStride + size_t(clip.left) * 3;
    if (r.Width() == inWidth && r.Height() == inHeight) {
        // At its own size the picture is copied, not filtered.
        for (int y = 0; y < clip.Height(); ++y)
            std::memcpy(target + size_t(y) * outStride,
                        in + size_t(clip.top - r.top + y) * inStride +
                            size_t(clip.left - r.left) * 3,
                        size_t(clip.Width()) * 3);
        return true;
    }
    return ResampleBgrStretched(in, inWidth, inHeight, inStride, target, clip.Width(),
                                clip.Height(), outStride, double(r.Width()) / inWidth,
                                double(r.Height()) / inHeight, clip.left - r.left,
                                clip.top - r.top);
}

} // namespace tabulon
