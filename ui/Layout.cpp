#include "ui/Layout.h"

#include "base/DisplayScale.h"
#include "ui/Form.h"
#include "ui/GraphicControls.h"
#include "ui/RichEdit.h"
#include "ui/ScaledPicture.h"
#include "ui/XPButton.h"

#include <vector>

namespace tabulon {

namespace {

std::wstring Wide(const char* name) {
    return std::wstring(name, name + std::char_traits<char>::length(name));
}

std::unique_ptr<TControl> MakeControl(const TForm& form, const TControlSpec& s) {
    const TFontSpec& font = s.font ? *s.font : form.Font();
    switch (s.kind) {
    case TControlKind::Shape: {
        auto shape = std::make_unique<TShape>(s.name);
        shape->PenColor = s.penColor;
        shape->BrushColor = s.color;
        shape->PenWidth = ScaleLineWidth(1, form.Dpi());
        return shape;
    }
    case TControlKind::Image: {
        auto image = std::make_unique<TImage>(s.name);
        image->SetStretch(s.stretch);
        image->SetTransparent(s.transparent);
        if (s.picture && form.Dpi() == kDesignDpi) image->Picture().LoadFromResource(s.picture);
        image->SetAutoSize(s.autoSize);
        return image;
    }
    case TControlKind::Label: {
        auto label = std::make_unique<TLabel>(s.name);
        label->Color = s.color;
        label->SetTransparent(s.transparent);
        label->SetAutoSize(s.autoSize);
        label->SetFont(ScaledFont(font, form.Dpi()));
        label->SetCaption(s.caption ? s.caption : L"");
        return label;
    }
    case TControlKind::SpeedButton: {
        auto button = std::make_unique<TSpeedButton>(s.name);
        button->SetFont(ScaledFont(font, form.Dpi()));
        button->SetCaption(s.caption ? s.caption : L"");
        return button;
    }
    case TControlKind::Panel: {
        auto panel = std::make_unique<TPanel>(s.name);
        panel->SetColor(s.color);
        return panel;
    }
    case TControlKind::ScrollBox: {
        auto box = std::make_unique<TScrollBox>(s.name);
        box->SetColor(s.color);
        return box;
    }
    case TControlKind::RichEdit:
        return std::make_unique<TRichEdit>(s.name, s.color, ScaledFont(font, form.Dpi()));
    case TControlKind::XPButton: {
        auto button = std::make_unique<TXPButton>(s.name);
        button->Caption = s.caption ? s.caption : L"";
        button->Hint = s.hint ? s.hint : L"";
        return button;
    }
    }
    return nullptr;
}

// The rows' boxes, parents given by index, at `dpi`.
std::vector<LayoutBox> ScaledBoxes(std::span<const TControlSpec> specs, int dpi) {
    std::vector<LayoutBox> boxes;
    boxes.reserve(specs.size());
    for (const TControlSpec& s : specs) {
        int parent = -1;
        if (s.parent) {
            const std::string_view wanted = s.parent;
            for (size_t i = 0; i < boxes.size(); ++i)
                if (wanted == specs[i].name) parent = static_cast<int>(i);
        }
        boxes.push_back(LayoutBox{s.left, s.top, s.width, s.height, parent});
    }
    return ScaleLayoutBoxes(boxes, dpi);
}

// A skin picture at a display scale fills its scaled box: the box, not the
// picture's own size, decides where its edges lie.
void ScaleSkinPicture(TImage& image, const TControlSpec& s, const LayoutBox& box, int dpi) {
    image.SetAutoSize(false);
    image.SetStretch(true);
    LoadScaledPicture(image.Picture(), s.picture, dpi, box.width, box.height);
}

// Bounds of a control of row `s` at `box`: controls that size themselves to
// their contents (auto-size labels, images at their picture's size) keep the
// size they took and only move; a skin picture at a display scale fills its box.
void Place(TControl& control, const TControlSpec& s, const LayoutBox& box, int dpi) {
    const bool fillsBox = s.picture && dpi != kDesignDpi;
    const bool sized = s.autoSize && !fillsBox && control.Width() > 0 && control.Height() > 0;
    if (sized)
        control.SetBounds(box.left, box.top, control.Width(), control.Height());
    else
        control.SetBounds(box.left, box.top, box.width, box.height);
}

} // namespace

TFontSpec ScaledFont(const TFontSpec& font, int dpi) {
    TFontSpec scaled = font;
    scaled.height = ScaleFontHeight(font.height, dpi);
    return scaled;
}

void BuildLayout(TForm& form, std::span<const TControlSpec> specs) {
    const std::vector<LayoutBox> boxes = ScaledBoxes(specs, form.Dpi());
    for (size_t i = 0; i < specs.size(); ++i) {
        const TControlSpec& s = specs[i];
        TWinControl* parent = &form;
        if (s.parent) {
            parent = dynamic_cast<TWinControl*>(form.FindComponent(s.parent));
            if (!parent) throw Exception(L"Layout parent missing for " + Wide(s.name));
        }
        std::unique_ptr<TControl> control = MakeControl(form, s);
        if (s.picture && form.Dpi() != kDesignDpi)
            ScaleSkinPicture(static_cast<TImage&>(*control), s, boxes[i], form.Dpi());
        // Bounds and visibility before the control joins its parent, so that a
        // windowed control's window is created in place.
        Place(*control, s, boxes[i], form.Dpi());
        control->SetVisible(s.visible);
        control->SetCursorId(s.cursor);
        TControl& added = parent->Add(std::move(control));
        form.RegisterComponent(added);
    }
    form.RememberLayout(specs);
}

void ScaleLayout(TForm& form, std::span<const TControlSpec> specs, int dpi) {
    const std::vector<LayoutBox> boxes = ScaledBoxes(specs, dpi);
    for (size_t i = 0; i < specs.size(); ++i) {
        const TControlSpec& s = specs[i];
        TControl* control = form.FindComponent(s.name);
        if (!control) throw Exception(L"Layout has no control " + Wide(s.name));
        const TFontSpec font = ScaledFont(s.font ? *s.font : form.Font(), dpi);
        if (auto* image = dynamic_cast<TImage*>(control); image && s.picture) {
            if (dpi == kDesignDpi) {
                image->SetStretch(s.stretch);
                image->Picture().LoadFromResource(s.picture);
                image->SetAutoSize(s.autoSize);
            } else {
                ScaleSkinPicture(*image, s, boxes[i], dpi);
            }
        } else if (auto* shape = dynamic_cast<TShape*>(control)) {
            shape->PenWidth = ScaleLineWidth(1, dpi);
        } else if (auto* label = dynamic_cast<TLabel*>(control)) {
            label->SetFont(font);
        } else if (auto* button = dynamic_cast<TSpeedButton*>(control)) {
            button->SetFont(font);
        } else if (auto* editor = dynamic_cast<TRichEdit*>(control)) {
            editor->SetFont(font);
        }
        Place(*control, s, boxes[i], dpi);
    }
}

} // namespace tabulon
