#pragma once
// A monitor as the composition and the desktop both see it: its size in
// physical pixels, its work area and its DPI. Plain values, portable.

namespace tabulon {

// A rectangle in the monitor's own pixels, (0, 0) its top-left corner.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

// The primary monitor in physical pixels, its work area (the monitor less
// the taskbar) and its DPI (96 at 100 %).
struct Screen {
    int width = 0, height = 0;
    int dpi = 96;
    ScreenRect workArea;
    bool operator==(const Screen&) const = default;
};

} // namespace tabulon
