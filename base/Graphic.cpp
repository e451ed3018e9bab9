#include "base/Graphic.h"

namespace tabulon {

void TGraphic::Draw(NativeDC, const TRect&) {}

} // namespace tabulon
