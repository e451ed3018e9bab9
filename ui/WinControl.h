#pragma once
// TWinControl: a control with a window of its own that hosts other controls.
// It paints its graphic controls in z-order through one off-screen buffer
// (no flicker) and gives them the mouse by these rules:
//  - only visible controls get input; the topmost one under the pointer wins;
//  - a press captures the mouse (SetCapture on this window) for the control
//    pressed until every button is up, even if that control is hidden meanwhile;
//  - a click goes to the control that got the left press, when the left
//    button is released inside that control's bounds;
//  - mouse-down and mouse-move reach the control for any button.
#include "base/Color.h"
#include "ui/Control.h"
#include "platform/Handles.h"

#include <map>
#include <memory>
#include <vector>

namespace tabulon {

class TTimer;

class TWinControl : public TControl {
  public:
    explicit TWinControl(std::string name) : TControl(std::move(name)) {}
    ~TWinControl() override;

    HWND Handle() const override { return wnd_.Get(); }
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Takes `control` as a child; later children lie above earlier ones.
    template <class T> T& Add(std::unique_ptr<T> control) {
        T& ref = *control;
        AddControl(std::move(control));
        return ref;
    }
    const std::vector<std::unique_ptr<TControl>>& Controls() const { return controls_; }

    // The topmost visible graphic control at `p` (client coordinates), or null.
    TControl* ControlAt(POINT p) const;
    // The graphic control that holds the mouse capture, or null.
    TControl* CapturedControl() const { return captured_; }

    // Timers post WM_TIMER to the window they run on.
    void RegisterTimer(UINT_PTR id, TTimer* timer) { timers_[id] = timer; }
    void UnregisterTimer(UINT_PTR id) { timers_.erase(id); }

    // Draws the background and the graphic controls into `dc` (client coordinates).
    void PaintControls(HDC dc, const RECT& area);

  protected:
    // Creates the window (class registered on first use).
    void CreateHandle(DWORD style, DWORD exStyle, HWND parent, const wchar_t* caption);
    void ParentHandleReady(HWND parentWnd) override;
    // Messages not handled here go to DefWindowProc.
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    // Draws over the graphic controls (a focus ring), in client coordinates.
    virtual void PaintOver(HDC dc) { (void)dc; }
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  private:
    void AddControl(std::unique_ptr<TControl> control);
    void OnPaint();
    void OnButtonDown(TMouseButton button, WPARAM keys, POINT p);
    void OnButtonUp(TMouseButton button, WPARAM keys, POINT p);
    void OnMouseMove(WPARAM keys, POINT p);
    void SetHot(TControl* control);
    bool OnSetCursor();
    bool OnContextMenu(HWND target, POINT screen);
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    WindowHandle wnd_;
    TColor color_ = clBtnFace;
    std::vector<std::unique_ptr<TControl>> controls_;
    std::map<UINT_PTR, TTimer*> timers_;
    TControl* captured_ = nullptr;
    bool clickPending_ = false;
    TControl* hot_ = nullptr;
    bool trackingLeave_ = false;
};

// A plain rectangular container; clips its children.
class TPanel : public TWinControl {
  public:
    explicit TPanel(std::string name) : TWinControl(std::move(name)) {}
};

// A container for a work area larger than the screen; it shows no scroll bars.
class TScrollBox : public TWinControl {
  public:
    explicit TScrollBox(std::string name) : TWinControl(std::move(name)) {}
};

} // namespace tabulon
