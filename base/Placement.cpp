#include "base/Placement.h"

#include <algorithm>

namespace tabulon {

TRect CentreInWorkArea(const TRect& work, int width, int height) {
    const int left = work.left + std::max(0, (work.Width() - width) / 2);
    const int top = work.top + std::max(0, (work.Height() - height) / 2);
    return TRect{left, top, left + width, top + height};
}

} // namespace tabulon
