#pragma once
// Layout geometry at a display scale. Layouts are drawn for 96 pixels per
// inch; at another DPI every position, size and font height is multiplied by
// DPI / 96. Boxes are scaled edge by edge in the form's own coordinates, so
// that controls whose edges meet at 96 DPI still meet, a child stays inside
// its parent and nothing leaves the window.
#include <span>
#include <vector>

namespace tabulon {

inline constexpr int kDesignDpi = 96;

// value * dpi / 96, rounded to the nearest integer, halves away from zero.
// A DPI of 0 or less counts as 96.
int ScaleLength(int value, int dpi);

// A line's width at `dpi`, rounded up: an outline drawn this wide covers any
// strip that rounding leaves between two scaled edges (at most the scale,
// rounded up). At least 1 for a positive width.
int ScaleLineWidth(int width, int dpi);

// A font's character height at `dpi`; never below 1 for a positive height.
int ScaleFontHeight(int height, int dpi);

// A control's box in its parent's coordinates. `parent` is the index of an
// earlier box in the same list, or -1 for the form itself.
struct LayoutBox {
    int left = 0, top = 0, width = 0, height = 0;
    int parent = -1;
    bool operator==(const LayoutBox&) const = default;
};

// The boxes at `dpi`, each still in its parent's coordinates. Throws
// Exception when a parent index does not name an earlier box.
std::vector<LayoutBox> ScaleLayoutBoxes(std::span<const LayoutBox> boxes, int dpi);

// Of pictures drawn at `percents` (100 = 96 DPI, 150, 200 ...), the index of
// the one nearest `dpi`; between two equally near, the larger (shrinking
// keeps detail that enlarging would have to invent). -1 for an empty list.
int NearestScaleVariant(std::span<const int> percents, int dpi);

// The zoom, in percent, that brings a page the browser draws at the
// system's DPI to a window's own DPI (a monitor of another scale than the
// primary one): windowDpi / systemDpi, rounded to the nearest percent.
// 100 when either DPI is 0 or less.
int PageZoomPercent(int windowDpi, int systemDpi);

} // namespace tabulon
