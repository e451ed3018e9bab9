// Builds without GDI have nothing to draw on; the Windows drawing is in
// PngDrawWin32.cpp.
#include "png/PngGraphic.h"

namespace tabulon {

void TPngGraphic::Draw(NativeDC, const TRect&) {}

} // namespace tabulon
