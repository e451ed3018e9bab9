#include "ui/WinControl.h"

#include "ui/Application.h"
#include "ui/Font.h"
#include "ui/Menus.h"
#include "ui/Timer.h"

#include <windowsx.h>

namespace tabulon {

namespace {

constexpr wchar_t kWindowClass[] = L"TabulonWindow";

void RegisterWindowClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    // No CS_DBLCLKS: a quick second press is a press like any other.
    wc.style = 0;
    wc.lpfnWndProc = ::DefWindowProcW; // replaced per window in CreateHandle
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kWindowClass;
    ::RegisterClassExW(&wc);
    registered = true;
}

POINT PointOf(LPARAM lp) {
    return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
}

bool Inside(const TRect& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

TMouseEvent EventFor(const TControl& c, TMouseButton button, WPARAM keys, POINT p) {
    return TMouseEvent{button, keys, p.x - c.Left(), p.y - c.Top()};
}

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

} // namespace

TWinControl::~TWinControl() {
    // Children first (their windows are children of ours); then our window,
    // cut off from this half-destroyed object before it gets its last messages.
    controls_.clear();
    if (wnd_) ::SetWindowLongPtrW(wnd_.Get(), GWLP_USERDATA, 0);
}

void TWinControl::CreateHandle(DWORD style, DWORD exStyle, HWND parent, const wchar_t* caption) {
    RegisterWindowClass();
    HWND wnd = ::CreateWindowExW(exStyle, kWindowClass, caption, style, bounds_.left, bounds_.top,
                                 bounds_.Width(), bounds_.Height(), parent, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!wnd)
        throw Exception(L"Cannot create window " + std::wstring(Name().begin(), Name().end()));
    wnd_.Reset(wnd);
    ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc));
    for (auto& c : controls_)
        c->ParentHandleReady(wnd);
}

void TWinControl::ParentHandleReady(HWND parentWnd) {
    CreateHandle(WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0), 0,
                 parentWnd, L"");
}

void TWinControl::AddControl(std::unique_ptr<TControl> control) {
    control->parent_ = this;
    TControl* c = control.get();
    controls_.push_back(std::move(control));
    if (wnd_) c->ParentHandleReady(wnd_.Get());
    c->Invalidate();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (wnd_ && parent_) ::MoveWindow(wnd_.Get(), left, top, width, height, TRUE);
}

void TWinControl::SetVisible(bool visible) {
    visible_ = visible;
    if (wnd_ && parent_) ::ShowWindow(wnd_.Get(), visible ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetColor(TColor color) {
    color_ = color;
    if (wnd_) ::InvalidateRect(wnd_.Get(), nullptr, FALSE);
}

TControl* TWinControl::ControlAt(POINT p) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = it->get();
        if (c->Visible() && !c->IsWindowed() && Inside(c->BoundsRect(), p)) return c;
    }
    return nullptr;
}

void TWinControl::PaintControls(HDC dc, const RECT& area) {
    GdiBrush background(::CreateSolidBrush(ColorToRGB(color_)));
    ::FillRect(dc, &area, background.Get());
    for (auto& c : controls_) {
        if (!c->Visible() || c->IsWindowed()) continue;
        const TRect& b = c->BoundsRect();
        RECT r{b.left, b.top, b.right, b.bottom}, common;
        if (!::IntersectRect(&common, &r, &area)) continue;
        SavedDCState state(dc);
        ::IntersectClipRect(dc, common.left, common.top, common.right, common.bottom);
        c->Paint(dc);
    }
    PaintOver(dc);
}

void TWinControl::OnPaint() {
    PaintDC paint(wnd_.Get());
    RECT client;
    ::GetClientRect(wnd_.Get(), &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    // Everything is drawn into one off-screen bitmap first and copied once, so
    // the layers under a control never show on the screen by themselves.
    MemoryDC buffer(::CreateCompatibleDC(paint.Get()));
    GdiBitmap pixels(::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
    if (!buffer || !pixels) return;
    SelectGuard select(buffer.Get(), pixels.Get());
    const RECT& area = paint.Area();
    Guarded([&] { PaintControls(buffer.Get(), area); });
    ::BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
             buffer.Get(), area.left, area.top, SRCCOPY);
}

void TWinControl::OnButtonDown(TMouseButton button, WPARAM keys, POINT p) {
    TControl* c = captured_;
    if (!c) {
        c = ControlAt(p);
        if (!c) return;
        captured_ = c;
        clickPending_ = false;
        ::SetCapture(wnd_.Get());
    }
    if (button == TMouseButton::Left) clickPending_ = true;
    c->MouseDown(EventFor(*c, button, keys, p));
}

void TWinControl::OnButtonUp(TMouseButton button, WPARAM keys, POINT p) {
    TControl* c = captured_ ? captured_ : ControlAt(p);
    if (!c) return;
    const bool click = button == TMouseButton::Left && clickPending_ && c == captured_ &&
                       Inside(c->BoundsRect(), p);
    if (button == TMouseButton::Left) clickPending_ = false;
    if ((keys & kAnyButton) == 0 && captured_) {
        captured_ = nullptr;
        ::ReleaseCapture();
    }
    c->MouseUp(EventFor(*c, button, keys, p));
    if (click) c->Click();
}

void TWinControl::OnMouseMove(WPARAM keys, POINT p) {
    TControl* under = ControlAt(p);
    SetHot(under);
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, wnd_.Get(), 0};
        trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
    }
    TControl* c = captured_ ? captured_ : under;
    if (!c) return;
    TMouseButton button = (keys & MK_RBUTTON)   ? TMouseButton::Right
                          : (keys & MK_MBUTTON) ? TMouseButton::Middle
                                                : TMouseButton::Left;
    c->MouseMove(EventFor(*c, button, keys, p));
}

void TWinControl::SetHot(TControl* control) {
    if (hot_ == control) return;
    TControl* old = hot_;
    hot_ = control;
    if (old) old->MouseLeave();
    if (control) control->MouseEnter();
}

bool TWinControl::OnSetCursor() {
    POINT p;
    ::GetCursorPos(&p);
    ::ScreenToClient(wnd_.Get(), &p);
    TControl* c = ControlAt(p);
    if (!c || !c->CursorId()) return false;
    ::SetCursor(::LoadCursorW(nullptr, c->CursorId()));
    return true;
}

bool TWinControl::OnContextMenu(HWND target, POINT screen) {
    TControl* c = nullptr;
    if (target == wnd_.Get()) {
        POINT p = screen;
        ::ScreenToClient(wnd_.Get(), &p);
        c = ControlAt(p);
    } else {
        for (auto& child : controls_)
            if (child->Handle() == target) c = child.get();
    }
    if (!c || !c->PopupMenu()) return false;
    if (screen.x == -1 && screen.y == -1) screen = c->ClientToScreen(POINT{0, 0});
    c->PopupMenu()->Popup(screen.x, screen.y);
    return true;
}

LRESULT TWinControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return ::DefWindowProcW(wnd_.Get(), msg, wp, lp);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers everything
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(TMouseButton::Left, wp, PointOf(lp));
        return 0;
    case WM_RBUTTONDOWN:
        OnButtonDown(TMouseButton::Right, wp, PointOf(lp));
        return 0;
    case WM_MBUTTONDOWN:
        OnButtonDown(TMouseButton::Middle, wp, PointOf(lp));
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(TMouseButton::Left, wp, PointOf(lp));
        return 0;
    case WM_RBUTTONUP:
        OnButtonUp(TMouseButton::Right, wp, PointOf(lp));
        return DefaultProc(msg, wp, lp); // turns into WM_CONTEXTMENU
    case WM_MBUTTONUP:
        OnButtonUp(TMouseButton::Middle, wp, PointOf(lp));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wp, PointOf(lp));
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        SetHot(nullptr);
        return 0;
    case WM_CAPTURECHANGED:
        // Someone else took the mouse (a handler released it to start a move,
        // a menu opened): the press is over without a click.
        if (reinterpret_cast<HWND>(lp) != wnd_.Get()) {
            captured_ = nullptr;
            clickPending_ = false;
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == wnd_.Get() && OnSetCursor())
            return TRUE;
        break;
    case WM_CONTEXTMENU:
        if (OnContextMenu(reinterpret_cast<HWND>(wp), PointOf(lp))) return 0;
        break;
    case WM_COMMAND:
        // Notifications go back to the child control that sent them.
        if (lp) {
            for (auto& child : controls_)
                if (child->Handle() == reinterpret_cast<HWND>(lp)) child->Notify(HIWORD(wp));
        }
        break;
    case WM_TIMER: {
        auto it = timers_.find(wp);
        if (it != timers_.end()) {
            it->second->Fire();
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return DefaultProc(msg, wp, lp);
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TWinControl*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(wnd, msg, wp, lp);
    // No exception may cross the system's frames: each message is one guarded
    // handler dispatch, reported in the error box when it fails.
    LRESULT result = 0;
    bool done = false;
    Guarded([&] {
        result = self->WndProc(msg, wp, lp);
        done = true;
    });
    return done ? result : 0;
}

} // namespace tabulon
