#include "ui/Control.h"

#include "ui/WinControl.h"

namespace tabulon {

void TControl::SetBounds(int left, int top, int width, int height) {
    if (bounds_.left == left && bounds_.top == top && bounds_.Width() == width &&
        bounds_.Height() == height)
        return;
    Invalidate();
    bounds_ = TRect{left, top, left + width, top + height};
    Invalidate();
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Invalidate();
}

POINT TControl::ClientToScreen(POINT p) const {
    POINT s{p.x + bounds_.left, p.y + bounds_.top};
    if (parent_ && parent_->Handle()) ::ClientToScreen(parent_->Handle(), &s);
    return s;
}

void TControl::Invalidate() {
    if (!parent_ || !parent_->Handle()) return;
    RECT r{bounds_.left, bounds_.top, bounds_.right, bounds_.bottom};
    ::InvalidateRect(parent_->Handle(), &r, FALSE);
}

void TControl::Click() {
    if (OnClick) OnClick(*this);
}

void TControl::MouseDown(const TMouseEvent& e) {
    if (OnMouseDown) OnMouseDown(*this, e);
}

void TControl::MouseMove(const TMouseEvent& e) {
    if (OnMouseMove) OnMouseMove(*this, e);
}

void TControl::MouseUp(const TMouseEvent& e) {
    if (OnMouseUp) OnMouseUp(*this, e);
}

} // namespace tabulon
