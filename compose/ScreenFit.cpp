#include "compose/ScreenFit.h"

#include "base/DisplayScale.h"
#include "compose/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tabulon {

Screen WholeScreen(int width, int height, int dpi) {
    return Screen{width, height, dpi, ScreenRect{0, 0, width, height}};
}

FillCrop FillCropFor(int pictureWidth, int pictureHeight, int screenWidth, int screenHeight) {
    FillCrop fit;
    if (pictureWidth <= 0 || pictureHeight <= 0 || screenWidth <= 0 || screenHeight <= 0)
        return fit;
    // Cover: the larger of the two ratios, so that neither axis falls short.
    const double byWidth = double(screenWidth) / pictureWidth;
    const double byHeight = double(screenHeight) / pictureHeight;
    fit.scale = std::max(byWidth, byHeight);
    fit.cropX = std::max(0.0, (pictureWidth * fit.scale - screenWidth) / 2);
    fit.cropY = std::max(0.0, (pictureHeight * fit.scale - screenHeight) / 2);
    return fit;
}

NotePlacement NotePlacementFor(const Screen& screen) {
    NotePlacement note;
    const int dpi = screen.dpi > 0 ? screen.dpi : 96;
    note.width = ScaleLength(350, dpi);
    note.height = ScaleLength(300, dpi);
    note.textArea = ScreenRect{ScaleLength(10, dpi), ScaleLength(20, dpi), ScaleLength(340, dpi),
                               ScaleLength(310, dpi)};
    // 10 points: 10/72 of an inch, in pixels at this DPI.
    note.fontHeight = int(std::lround(10.0 * dpi / 72.0));
    const ScreenRect& work = screen.workArea;
    note.x = std::max(work.left, work.right - ScaleLength(402, dpi));
    note.y = work.top + ScaleLength(30, dpi);
    return note;
}

bool FitToCover(const uint8_t* in, int inWidth, int inHeight, size_t inStride, uint8_t* out,
                int outWidth, int outHeight, size_t outStride) {
    if (inWidth <= 0 || inHeight <= 0 || outWidth <= 0 || outHeight <= 0) return false;
    const FillCrop fit = FillCropFor(inWidth, inHeight, outWidth, outHeight);
    if (fit.scale == 1) {
        // Only cropped: the centred part is copied, not filtered (a filter at
        // scale 1 would only soften it).
        const size_t left = size_t(fit.cropX), top = size_t(fit.cropY);
        for (int y = 0; y < outHeight; ++y)
            std::memcpy(out + size_t(y) * outStride, in + (top + size_t(y)) * inStride + left * 3,
                        size_t(outWidth) * 3);
        return true;
    }
    return ResampleBgr(in, inWidth, inHeight, inStride, out, outWidth, outHeight, outStride,
                       fit.scale, fit.cropX, fit.cropY);
}

} // namespace tabulon
