#include "ui/Font.h"

namespace tabulon {

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color)) return ::GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0x00FFFFFF);
}

GdiFont CreateFontFor(const TFontSpec& font) {
    return GdiFont(::CreateFontW(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                 FALSE, FALSE, font.charset, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, font.name));
}

} // namespace tabulon
