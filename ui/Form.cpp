#include "ui/Form.h"

#include "ui/Application.h"
#include "base/Placement.h"

namespace tabulon {

TForm::TForm(std::string name, const TFormSpec& layout)
    : TWinControl(std::move(name)), caption_(layout.caption), font_(layout.font),
      centreOnScreen_(layout.centreOnScreen) {
    SetColor(layout.color);
    bounds_ = TRect{0, 0, layout.width, layout.height};
    visible_ = false;
    DWORD style = layout.borderless ? WS_POPUP | WS_CLIPCHILDREN
                                    : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    HWND owner = Application.Handle();
    if (layout.taskbarWindow) {
        // The system menu and minimise box draw nothing on a frameless window,
        // but let the taskbar button minimise, restore and close it.
        style |= WS_SYSMENU | WS_MINIMIZEBOX;
        exStyle = WS_EX_APPWINDOW;
        owner = nullptr;
    }
    CreateHandle(style, exStyle, owner, layout.caption);
    if (!layout.borderless) {
        // The layout gives the client size; the frame comes on top.
        RECT r{0, 0, layout.width, layout.height};
        ::AdjustWindowRectEx(&r, style, FALSE, 0);
        ::SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

TForm::~TForm() = default;

void TForm::Show() {
    if (!shownOnce_ && centreOnScreen_) {
        // The monitor the user is looking at: the one under the pointer.
        POINT pointer{};
        ::GetCursorPos(&pointer);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (::GetMonitorInfoW(::MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
            RECT r;
            ::GetWindowRect(Handle(), &r);
            const RECT& w = monitor.rcWork;
            const TRect at = CentreInWorkArea(TRect{w.left, w.top, w.right, w.bottom},
                                              r.right - r.left, r.bottom - r.top);
            ::SetWindowPos(Handle(), nullptr, at.left, at.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
        // so the editor keeps its caret across a switch to another program.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(Handle(), focus)) lastFocus_ = focus;
        } else if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsChild(Handle(), lastFocus_)) {
            ::SetFocus(lastFocus_);
            return 0;
        }
        break;
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
