#pragma once
// Scaling 24-bit pictures with a separable filter in fixed point: Catmull-Rom
// when enlarging (sharp, no blur at 2x), Mitchell-Netravali widened by the
// reduction when reducing (no aliasing), edge pixels repeated. Integer
// arithmetic throughout, so that a 4K wallpaper costs about as much as a few
// copies of it; the rows that feed the vertical pass are kept in a small
// ring, so memory stays near one output row per filter tap.
#include <cstddef>
#include <cstdint>

namespace tabulon {

// Output pixel (x, y) is the filtered input around ((x + 0.5 + shiftX) /
// scale, (y + 0.5 + shiftY) / scale), both axes scaled alike. Returns false
// when the working memory cannot be had (the output is then incomplete).
bool ResampleBgr(const uint8_t* in, int inWidth, int inHeight, size_t inStride, uint8_t* out,
                 int outWidth, int outHeight, size_t outStride, double scale, double shiftX,
                 double shiftY);

// The same with each axis scaled by its own factor (a picture stretched to
// the screen).
bool ResampleBgrStretched(const uint8_t* in, int inWidth, int inHeight, size_t inStride,
                          uint8_t* out, int outWidth, int outHeight, size_t outStride,
                          double scaleX, double scaleY, double shiftX, double shiftY);

// The same as ResampleBgr with the kernels every x86 processor runs, whatever this one
// offers besides: the faster kernels must give exactly its results.
bool ResampleBgrPlain(const uint8_t* in, int inWidth, int inHeight, size_t inStride, uint8_t* out,
                      int outWidth, int outHeight, size_t outStride, double scale, double shiftX,
                      double shiftY);

} // namespace tabulon
