#include "ui/Layout.h"

#include "ui/Form.h"
#include "ui/GraphicControls.h"
#include "ui/RichEdit.h"
#include "ui/XPButton.h"

namespace tabulon {

namespace {

std::unique_ptr<TControl> MakeControl(const TForm& form, const TControlSpec& s) {
    const TFontSpec& font = s.font ? *s.font : form.Font();
    switch (s.kind) {
    case TControlKind::Shape: {
        auto shape = std::make_unique<TShape>(s.name);
        shape->PenColor = s.penColor;
        shape->BrushColor = s.color;
        return shape;
    }
    case TControlKind::Image: {
        auto image = std::make_unique<TImage>(s.name);
        image->SetStretch(s.stretch);
        image->SetTransparent(s.transparent);
        if (s.picture) image->Picture().LoadFromResource(s.picture);
        image->SetAutoSize(s.autoSize);
        return image;
    }
    case TControlKind::Label: {
        auto label = std::make_unique<TLabel>(s.name);
        label->Color = s.color;
        label->SetTransparent(s.transparent);
        label->SetAutoSize(s.autoSize);
        label->SetFont(font);
        label->SetCaption(s.caption ? s.caption : L"");
        return label;
    }
    case TControlKind::SpeedButton: {
        auto button = std::make_unique<TSpeedButton>(s.name);
        button->SetFont(font);
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
        return std::make_unique<TRichEdit>(s.name, s.color, font);
    case TControlKind::XPButton: {
        auto button = std::make_unique<TXPButton>(s.name);
        button->Caption = s.caption ? s.caption : L"";
        button->Hint = s.hint ? s.hint : L"";
        return button;
    }
    }
    return nullptr;
}

} // namespace

void BuildLayout(TForm& form, std::span<const TControlSpec> specs) {
    for (const TControlSpec& s : specs) {
        TWinControl* parent = &form;
        if (s.parent) {
            parent = dynamic_cast<TWinControl*>(form.FindComponent(s.parent));
            if (!parent)
                throw Exception(
                    L"Layout parent missing for " +
                    std::wstring(s.name, s.name + std::char_traits<char>::length(s.name)));
        }
        std::unique_ptr<TControl> control = MakeControl(form, s);
        // Bounds and visibility before the control joins its parent, so that a
        // windowed control's window is created in place.
        const bool sized = control->Width() > 0 && control->Height() > 0;
        if (sized)
            control->SetBounds(s.left, s.top, control->Width(), control->Height());
        else
            control->SetBounds(s.left, s.top, s.width, s.height);
        control->SetVisible(s.visible);
        control->SetCursorId(s.cursor);
        TControl& added = parent->Add(std::move(control));
        form.RegisterComponent(added);
    }
}

} // namespace tabulon
