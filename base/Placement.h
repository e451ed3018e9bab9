#pragma once
// Where a window opens: centred in one monitor's work area (the screen less
// the taskbar), never across two monitors, never partly off that screen.
#include "base/Graphic.h"

namespace tabulon {

// The window's rectangle of `width` x `height`, centred in `work`. A window
// larger than the work area keeps its top-left corner (and so its caption
// area and buttons) on the screen.
TRect CentreInWorkArea(const TRect& work, int width, int height);

} // namespace tabulon
