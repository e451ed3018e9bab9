#pragma once
// Controls without a window of their own, painted by their parent.
#include "ui/Control.h"
#include "ui/Font.h"
#include "ui/Picture.h"

#include <string>

namespace tabulon {

// Shows a picture: at its own size from the top-left corner, or stretched to
// the control. Transparent drawing leaves a bitmap's bottom-left colour out;
// a PNG uses its own transparency.
class TImage : public TControl {
  public:
    explicit TImage(std::string name);

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    void Paint(HDC dc) override;

  private:
    void PictureChanged();

    TPicture picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool transparent_ = false;
};

// One line of text, sized to it when auto-size is on.
class TLabel : public TControl {
  public:
    explicit TLabel(std::string name) : TControl(std::move(name)) {}

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    const TFontSpec& Font() const { return font_; }
    void SetFont(const TFontSpec& font);
    void SetAutoSize(bool on);
    // Transparent labels let what lies beneath show between the letters.
    void SetTransparent(bool on);
    TColor Color = clBtnFace;

    void Paint(HDC dc) override;

  private:
    void AdjustSize();

    std::wstring caption_;
    TFontSpec font_{};
    GdiFont hfont_;
    bool autoSize_ = true;
    bool transparent_ = false;
};

// A rectangle with an outline, one pixel wide at 96 DPI, drawn inside it.
class TShape : public TControl {
  public:
    explicit TShape(std::string name) : TControl(std::move(name)) {}
    TColor PenColor = clBlack;
    TColor BrushColor = clWhite;
    int PenWidth = 1;
    void Paint(HDC dc) override;
};

// A flat button: only its caption shows until the pointer is over it. Being
// a graphic control it never takes the keyboard focus.
class TSpeedButton : public TControl {
  public:
    explicit TSpeedButton(std::string name) : TControl(std::move(name)) {}

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    void SetFont(const TFontSpec& font);
    bool Hot() const { return hot_; }
    bool Down() const { return down_; }

    void Paint(HDC dc) override;
    void MouseDown(const TMouseEvent& e) override;
    void MouseUp(const TMouseEvent& e) override;
    void MouseEnter() override;
    void MouseLeave() override;

  private:
    std::wstring caption_;
    TFontSpec font_{};
    GdiFont hfont_;
    bool hot_ = false;
    bool down_ = false;
};

} // namespace tabulon
