#pragma once
// Fonts and colours as the controls use them.
#include "base/Color.h"
#include "platform/Handles.h"

#include <string>

namespace tabulon {

// A font as a layout describes it. `height` is the character height in pixels.
struct TFontSpec {
    const wchar_t* name = L"MS Sans Serif";
    int height = 11;
    bool bold = false;
    TColor color = clWindowText;
    BYTE charset = DEFAULT_CHARSET;
};

// The RGB value of a colour, looking system colours up.
COLORREF ColorToRGB(TColor color);

// A new font for `font`; a negative height asks for the character height.
GdiFont CreateFontFor(const TFontSpec& font);

} // namespace tabulon
