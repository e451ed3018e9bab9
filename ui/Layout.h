#pragma once
// Form layouts: a table of controls per form, in z-order (later rows lie
// above earlier ones within the same parent). Each row gives a control's
// kind, name, parent, bounds and the properties its kind uses.
#include "base/Exception.h"
#include "ui/Font.h"

#include <span>

namespace tabulon {

class TForm;

enum class TControlKind { Shape, Image, Label, SpeedButton, Panel, ScrollBox, RichEdit, XPButton };

struct TControlSpec {
    TControlKind kind = TControlKind::Shape;
    const char* name = "";
    const char* parent = nullptr; // null: the form itself
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    TColor color = clBtnFace;  // panel, label and editor background; shape fill
    TColor penColor = clBlack; // shape outline
    // Images: an RCDATA resource holding a layout picture.
    const wchar_t* picture = nullptr;
    bool autoSize = false;
    bool stretch = false;
    bool transparent = false;
    // Labels, buttons, editors.
    const wchar_t* caption = nullptr;
    const wchar_t* hint = nullptr;
    const TFontSpec* font = nullptr; // null: the form's font
    LPCWSTR cursor = nullptr;        // null: the arrow
};

// Creates the controls of `specs` on `form` at the form's DPI and registers
// them by name; the form keeps the rows for a later change of DPI. Throws
// when a parent is unknown or a picture cannot be read.
void BuildLayout(TForm& form, std::span<const TControlSpec> specs);

// Places the controls of `specs`, already on `form`, at `dpi`: positions,
// sizes, font heights and skin pictures. At 96 DPI a layout is as its rows
// give it; at another DPI every edge and font height is multiplied by
// DPI / 96, and skin pictures are drawn from their nearest stored variant,
// resampled to the scaled control.
void ScaleLayout(TForm& form, std::span<const TControlSpec> specs, int dpi);

// The font at `dpi`: its character height scaled.
TFontSpec ScaledFont(const TFontSpec& font, int dpi);

} // namespace tabulon
