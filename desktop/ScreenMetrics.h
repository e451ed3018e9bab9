#pragma once
// Measures the primary monitor as a DPI-aware program sees it, whatever the
// DPI awareness of this program or thread at the time.
#include "base/Screen.h"

namespace tabulon {

// Size in physical pixels, work area and DPI of the primary monitor. Windows
// 10 1607 and later: measured on this thread switched to per-monitor
// awareness for the moment. Older systems: the display mode gives the
// physical size, the system DPI the scale, and a virtualised (smaller) monitor
// rectangle gives the scale away where the system DPI is hidden.
Screen MeasurePrimaryScreen();

// Every monitor together (the virtual screen) in physical pixels, relative to
// the primary monitor's top-left corner; empty when it cannot be measured.
ScreenRect MeasureDesktopArea();

} // namespace tabulon
