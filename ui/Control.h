#pragma once
// TControl: the base of everything placed on a form. A graphic control
// (image, label, shape, speed button) has no window: its parent paints it
// and routes the mouse to it. A windowed control has its own child window.
#include "base/Graphic.h"

#include <windows.h>

#include <functional>
#include <string>

namespace tabulon {

class TWinControl;
class TPopupMenu;

enum class TMouseButton { Left, Right, Middle };

// Whether the key (a VK_ code) was down when the message being handled was
// sent, as the keyboard state of this thread's input says.
inline bool KeyIsDown(int key) {
    return ::GetKeyState(key) < 0;
}

// A mouse event in the control's own coordinates. `keys` holds the MK_ flags.
struct TMouseEvent {
    TMouseButton button = TMouseButton::Left;
    WPARAM keys = 0;
    int x = 0, y = 0;
};

class TControl {
  public:
    explicit TControl(std::string name) : name_(std::move(name)) {}
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const std::string& Name() const { return name_; }
    TWinControl* Parent() const { return parent_; }

    // Position and size in the parent's client coordinates.
    const TRect& BoundsRect() const { return bounds_; }
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);

    // A system cursor id (IDC_HAND ...) shown while the pointer is over the control.
    LPCWSTR CursorId() const { return cursor_; }
    void SetCursorId(LPCWSTR id) { cursor_ = id; }

    // The menu a right-click on the control opens; null for none.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

    // A point in the control's coordinates, in screen coordinates.
    POINT ClientToScreen(POINT p) const;
    // Asks the parent to repaint the control's area.
    void Invalidate();

    // The control's own window; null for graphic controls.
    virtual HWND Handle() const { return nullptr; }
    bool IsWindowed() const { return Handle() != nullptr; }
    // Draws a graphic control; `dc` has the parent's client coordinates.
    virtual void Paint(HDC dc) { (void)dc; }

    std::function<void(TControl&)> OnClick;
    std::function<void(TControl&, const TMouseEvent&)> OnMouseDown;
    std::function<void(TControl&, const TMouseEvent&)> OnMouseMove;
    std::function<void(TControl&, const TMouseEvent&)> OnMouseUp;

    // Called by the parent as the mouse rules decide.
    virtual void Click();
    virtual void MouseDown(const TMouseEvent& e);
    virtual void MouseMove(const TMouseEvent& e);
    virtual void MouseUp(const TMouseEvent& e);
    // The pointer came over the control / left it (hot tracking).
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}

  protected:
    friend class TWinControl;
    // Called once the parent has its window: windowed controls create theirs here.
    virtual void ParentHandleReady(HWND parentWnd) { (void)parentWnd; }
    // A notification code the control's window sent its parent (WM_COMMAND).
    virtual void Notify(UINT code) { (void)code; }

    TWinControl* parent_ = nullptr;
    TRect bounds_;
    bool visible_ = true;

  private:
    std::string name_;
    LPCWSTR cursor_ = nullptr;
    TPopupMenu* popupMenu_ = nullptr;
};

} // namespace tabulon
