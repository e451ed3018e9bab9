#include "ui/Form.h"

#include "base/DisplayScale.h"
#include "ui/Application.h"
#include "base/Placement.h"
#include "ui/DisplayDpi.h"

namespace tabulon {

namespace {

DWORD FormStyle(const TFormSpec& layout) {
    DWORD style = layout.borderless ? WS_POPUP | WS_CLIPCHILDREN
                                    : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    // The system menu and minimise box draw nothing on a frameless window,
    // but let the taskbar button minimise, restore and close it.
    if (layout.taskbarWindow) style |= WS_SYSMENU | WS_MINIMIZEBOX;
    return style;
}

} // namespace

TForm::TForm(std::string name, const TFormSpec& layout)
    : TWinControl(std::move(name)), caption_(layout.caption), font_(layout.font),
      designWidth_(layout.width), designHeight_(layout.height), style_(FormStyle(layout)),
      centreOnScreen_(layout.centreOnScreen) {
    SetColor(layout.color);
    bounds_ = TRect{0, 0, layout.width, layout.height};
    visible_ = false;
    // The taskbar window is unowned, with a button of its own; other forms
    // belong to the application window.
    CreateHandle(style_, layout.taskbarWindow ? WS_EX_APPWINDOW : 0,
                 layout.taskbarWindow ? nullptr : Application.Handle(), layout.caption);
    // The window exists before its DPI can be asked; it is sized afterwards.
    dpi_ = WindowDpi(Handle());
    bounds_ = TRect{0, 0, ScaleLength(designWidth_, dpi_), ScaleLength(designHeight_, dpi_)};
    if (!layout.borderless || dpi_ != kDesignDpi) {
        const SIZE size = WindowSize();
        ::SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

SIZE TForm::WindowSizeAt(int dpi) const {
    // The layout gives the client size; a frame comes on top.
    RECT r{0, 0, ScaleLength(designWidth_, dpi), ScaleLength(designHeight_, dpi)};
    if (style_ & WS_CAPTION) ::AdjustWindowRectEx(&r, style_, FALSE, 0);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void TForm::ChangeDpi(int dpi, const RECT* at) {
    const bool changed = dpi > 0 && dpi != dpi_;
    if (!changed && !at) return;
    if (changed) {
        dpi_ = dpi;
        bounds_ = TRect{0, 0, ScaleLength(designWidth_, dpi_), ScaleLength(designHeight_, dpi_)};
    }
    // Size and place in one step: a resize followed by a move could leave the
    // window straddling the monitors' boundary in between and bounce it back.
    const SIZE size = WindowSize();
    ::SetWindowPos(Handle(), nullptr, at ? at->left : 0, at ? at->top : 0, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | (at ? 0 : SWP_NOMOVE));
    if (!changed) return;
    for (std::span<const TControlSpec> layout : layouts_)
        ScaleLayout(*this, layout, dpi_);
    DpiChanged();
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

TForm::~TForm() = default;

void TForm::Show() {
    if (!shownOnce_ && centreOnScreen_) {
        // The monitor the user is looking at: the one under the pointer.
        POINT pointer{};
        ::GetCursorPos(&pointer);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        HMONITOR target = ::MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
        // Without monitor information (the display just changing) the
        // primary work area still beats the corner the window was made in.
        const bool known = ::GetMonitorInfoW(target, &monitor) ||
                           ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
        if (known) {
            // Laid out for that monitor's scale, not the one the hidden
            // window was made on.
            const int dpi = DpiOfMonitor(target);
            const SIZE size = WindowSizeAt(dpi > 0 ? dpi : dpi_);
            const RECT& w = monitor.rcWork;
            const TRect at =
                CentreInWorkArea(TRect{w.left, w.top, w.right, w.bottom}, size.cx, size.cy);
            const RECT r{at.left, at.top, at.left + size.cx, at.top + size.cy};
            ChangeDpi(dpi, &r);
        }
    }
    shownOnce_ = true;
    visible_ = true;
    if (::IsIconic(Handle()))
        ::ShowWindow(Handle(), SW_RESTORE);
    else
        ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
}

void TForm::Minimize() {
    ::ShowWindow(Handle(), SW_MINIMIZE);
}

bool TForm::Minimized() const {
    return ::IsIconic(Handle()) != FALSE;
}

void TForm::Hide() {
    visible_ = false;
    ::ShowWindow(Handle(), SW_HIDE);
}

bool TForm::Showing() const {
    return ::IsWindowVisible(Handle()) != FALSE;
}

void TForm::RegisterComponent(TControl& control) {
    components_[control.Name()] = &control;
}

TControl* TForm::FindComponent(const std::string& name) const {
    auto it = components_.find(name);
    return it == components_.end() ? nullptr : it->second;
}

void TForm::ThrowMissing(const std::string& name) {
    throw Exception(L"Layout has no control " + std::wstring(name.begin(), name.end()));
}

bool TForm::Holds(HWND window) const {
    return window && (window == Handle() || ::IsChild(Handle(), window));
}

void TForm::Close() {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) return;
    // Closing the main form ends the application; other forms just hide.
    if (Application.MainForm() == this)
        Application.Terminate();
    else
        Hide();
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        // Focus goes back to the control that had it when the form was left,
        // so the editor keeps its caret across a switch to another program
        // (the form's own window holds it for its windowless controls). On
        // the first activation there is none: the active control takes it.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (Holds(focus)) lastFocus_ = focus;
        } else {
            HWND to = lastFocus_ && ::IsWindow(lastFocus_) ? lastFocus_ : nullptr;
            if (!to && activeControl_) to = activeControl_->Handle();
            if (Holds(to)) {
                ::SetFocus(to);
                return 0;
            }
        }
        break;
    case kWmGetDpiScaledSize: {
        // Asked before WM_DPICHANGED: the size the layout gives, so that the
        // suggested rectangle has it and the window lands where Windows means.
        const SIZE size = WindowSizeAt(LOWORD(wp));
        *reinterpret_cast<SIZE*>(lp) = size;
        return TRUE;
    }
    case kWmDpiChanged:
        // Moved to a monitor of another scale: laid out anew in the rectangle
        // the system suggests (of the size the layout gives).
        ChangeDpi(LOWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_SYSCOMMAND:
        // The whole application minimises through its taskbar entry.
        if ((wp & 0xFFF0) == SC_MINIMIZE && Application.MainForm() == this) {
            Application.Minimize();
            return 0;
        }
        break;
    case WM_MOUSELEAVE: {
        const LRESULT result = TWinControl::WndProc(msg, wp, lp);
        if (OnMouseLeave) OnMouseLeave(*this);
        return result;
    }
    default:
        break;
    }
    return TWinControl::WndProc(msg, wp, lp);
}

} // namespace tabulon
