#include "ui/GraphicControls.h"

namespace tabulon {

TImage::TImage(std::string name) : TControl(std::move(name)) {
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::SetAutoSize(bool on) {
    autoSize_ = on;
    PictureChanged();
}

void TImage::SetStretch(bool on) {
    stretch_ = on;
    Invalidate();
}

void TImage::SetTransparent(bool on) {
    transparent_ = on;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (auto* bmp = dynamic_cast<TBitmap*>(picture_.Graphic())) bmp->SetTransparent(transparent_);
    if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0)
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void TImage::Paint(HDC dc) {
    TGraphic* g = picture_.Graphic();
    if (!g || g->Empty()) return;
    TRect r = BoundsRect();
    if (!stretch_) r = TRect{r.left, r.top, r.left + g->Width(), r.top + g->Height()};
    g->Draw(dc, r);
}

void TLabel::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    AdjustSize();
    Invalidate();
}

void TLabel::SetFont(const TFontSpec& font) {
    font_ = font;
    hfont_ = CreateFontFor(font_);
    AdjustSize();
    Invalidate();
}

void TLabel::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustSize();
}

void TLabel::SetTransparent(bool on) {
    transparent_ = on;
    Invalidate();
}

void TLabel::AdjustSize() {
    if (!autoSize_) return;
    if (!hfont_) hfont_ = CreateFontFor(font_);
    WindowDC screen(nullptr);
    SelectGuard select(screen.Get(), hfont_.Get());
    RECT r{0, 0, 0, 0};
    const std::wstring text = caption_.empty() ? L" " : caption_;
    ::DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TLabel::Paint(HDC dc) {
    if (!hfont_) hfont_ = CreateFontFor(font_);
    const TRect& b = BoundsRect();
    RECT r{b.left, b.top, b.right, b.bottom};
    if (!transparent_) {
        GdiBrush brush(::CreateSolidBrush(ColorToRGB(Color)));
        ::FillRect(dc, &r, brush.Get());
    }
    SelectGuard select(dc, hfont_.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(font_.color));
    ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
                DT_NOPREFIX | DT_EXPANDTABS);
}

void TShape::Paint(HDC dc) {
    const TRect& b = BoundsRect();
    // A wider pen stays inside the bounds, as the one-pixel pen does.
    GdiPen pen(::CreatePen(PenWidth > 1 ? PS_INSIDEFRAME : PS_SOLID, PenWidth > 1 ? PenWidth : 1,
                           ColorToRGB(PenColor)));
    GdiBrush brush(::CreateSolidBrush(ColorToRGB(BrushColor)));
    SelectGuard selectPen(dc, pen.Get());
    SelectGuard selectBrush(dc, brush.Get());
    ::Rectangle(dc, b.left, b.top, b.right, b.bottom);
}

void TSpeedButton::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    Invalidate();
}

void TSpeedButton::SetFont(const TFontSpec& font) {
    font_ = font;
    hfont_ = CreateFontFor(font_);
    Invalidate();
}

void TSpeedButton::Paint(HDC dc) {
    if (!hfont_) hfont_ = CreateFontFor(font_);
    const TRect& b = BoundsRect();
    RECT r{b.left, b.top, b.right, b.bottom};
    // Flat: the face is whatever lies beneath; a frame shows only while the
    // pointer is over the button (raised) or it is pressed (sunken).
    if (down_)
        ::DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (hot_)
        ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    RECT text = r;
    if (down_) ::OffsetRect(&text, 1, 1);
    SelectGuard select(dc, hfont_.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(font_.color));
    ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TSpeedButton::MouseDown(const TMouseEvent& e) {
    if (e.button == TMouseButton::Left) {
        down_ = true;
        Invalidate();
    }
    TControl::MouseDown(e);
}

void TSpeedButton::MouseUp(const TMouseEvent& e) {
    if (e.button == TMouseButton::Left && down_) {
        down_ = false;
        Invalidate();
    }
    TControl::MouseUp(e);
}

void TSpeedButton::MouseEnter() {
    hot_ = true;
    Invalidate();
}

void TSpeedButton::MouseLeave() {
    hot_ = false;
    Invalidate();
}

} // namespace tabulon
