#include "ui/SkinButtons.h"

#include "platform/ProgramIds.h"
#include "ui/Application.h"
#include "ui/SkinAccessible.h"
#include "ui/WinControl.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace tabulon {

namespace {

RECT RectOf(const TControl& c) {
    const TRect& b = c.BoundsRect();
    return RECT{b.left, b.top, b.right, b.bottom};
}

} // namespace

TSkinButtons::~TSkinButtons() {
    if (accessible_) {
        accessible_->Forget();
        std::exchange(accessible_, nullptr)->Release();
    }
}

bool TSkinButtons::HasFocus() const {
    return owner_.Handle() && ::GetFocus() == owner_.Handle();
}

int TSkinButtons::NextFocusable(int from, bool forward) const {
    for (int i = forward ? from + 1 : from - 1; i >= 0 && i < Count(); i += forward ? 1 : -1)
        if (Focusable(items_[i]) && Visible(i)) return i;
    return -1;
}

void TSkinButtons::Focus(int i) {
    if (i < 0 || i >= Count()) return;
    InvalidateRing();
    focused_ = i;
    ShowCues();
    if (!HasFocus())
        ::SetFocus(owner_.Handle()); // WM_SETFOCUS announces the item
    else
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, owner_.Handle(), OBJID_CLIENT, focused_ + 1);
    InvalidateRing();
}

bool TSkinButtons::Step(bool forward) {
    const int from = HasFocus() && focused_ >= 0 ? focused_ : (forward ? -1 : Count());
    const int to = NextFocusable(from, forward);
    if (to < 0) {
        InvalidateRing();
        focused_ = -1;
        if (OnLeave) OnLeave(forward);
        return false;
    }
    Focus(to);
    return true;
}

void TSkinButtons::Press(int i) {
    if (i < 0 || i >= Count() || !items_[i].target) return;
    items_[i].target->Click();
}

void TSkinButtons::PostPress(int i) {
    ::PostMessageW(owner_.Handle(), kSkinPressMessage, static_cast<WPARAM>(i), 0);
}

bool TSkinButtons::Visible(int i) const {
    const TSkinButton& b = items_[i];
    if (b.place && b.place->Visible()) return true;
    return std::ranges::any_of(b.faces, [](const TControl* face) { return face->Visible(); });
}

RECT TSkinButtons::ScreenRect(int i) const {
    const TControl& c = *items_[i].place;
    const POINT topLeft = c.ClientToScreen(POINT{0, 0});
    return RECT{topLeft.x, topLeft.y, topLeft.x + c.Width(), topLeft.y + c.Height()};
}

long TSkinButtons::State(int i) const {
    const TSkinButton& b = items_[i];
    long state = b.shownStates ? b.shownStates() : 0;
    if (!Visible(i) || !::IsWindowVisible(owner_.Handle())) state |= STATE_SYSTEM_INVISIBLE;
    if (b.role == TSkinRole::Text) return state | STATE_SYSTEM_READONLY;
    state |= STATE_SYSTEM_FOCUSABLE;
    if (b.role == TSkinRole::MenuButton) state |= STATE_SYSTEM_HASPOPUP;
    if (i == focused_ && HasFocus()) state |= STATE_SYSTEM_FOCUSED;
    return state;
}

bool TSkinButtons::CuesHidden() const {
    const LRESULT ui = ::SendMessageW(owner_.Handle(), WM_QUERYUISTATE, 0, 0);
    return (ui & UISF_HIDEFOCUS) != 0;
}

void TSkinButtons::ShowCues() {
    // The user works with the keyboard: Windows' cue for the whole window.
    HWND top = ::GetAncestor(owner_.Handle(), GA_ROOT);
    ::SendMessageW(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void TSkinButtons::InvalidateRing() const {
    if (focused_ < 0 || !owner_.Handle()) return;
    RECT r = RectOf(*items_[focused_].place);
    ::InflateRect(&r, 1, 1);
    ::InvalidateRect(owner_.Handle(), &r, FALSE);
}

void TSkinButtons::PaintFocusRing(HDC dc) const {
    if (focused_ < 0 || !HasFocus() || CuesHidden()) return;
    RECT r = RectOf(*items_[focused_].place);
    ::DrawFocusRect(dc, &r);
}

void TSkinButtons::CreateTooltips() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_.Handle(),
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!tip) return; // tooltips are a help, not a need
    tooltip_.Reset(tip);
    for (int i = 0; i < Count(); ++i) {
        if (items_[i].tip.empty()) continue;
        TTTOOLINFOW tool = ToolOf(i);
        tool.uFlags = TTF_SUBCLASS;
        tool.lpszText = const_cast<wchar_t*>(items_[i].tip.c_str());
        ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TSkinButtons::LayoutChanged() {
    if (!tooltip_) return;
    for (int i = 0; i < Count(); ++i) {
        if (items_[i].tip.empty()) continue;
        TTTOOLINFOW tool = ToolOf(i);
        ::SendMessageW(tooltip_.Get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

TTTOOLINFOW TSkinButtons::ToolOf(int i) const {
    // The size comctl32 5 knows too: the program may run without version 6.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = owner_.Handle();
    tool.uId = static_cast<UINT_PTR>(i + 1);
    tool.rect = RectOf(*items_[i].place);
    return tool;
}

ComPtr<IAccessible> TSkinButtons::Accessible() {
    if (!accessible_) accessible_ = new SkinAccessible(*this, owner_.Handle());
    accessible_->AddRef();
    ComPtr<IAccessible> out;
    *out.Receive() = accessible_;
    return out;
}

bool TSkinButtons::KeyDown(WPARAM key) {
    if (!HasFocus()) return false;
    const bool control = KeyIsDown(VK_CONTROL), alt = KeyIsDown(VK_MENU);
    switch (key) {
    case VK_TAB:
        if (alt) return false;
        Step(!KeyIsDown(VK_SHIFT));
        return true;
    case VK_RETURN:
    case VK_SPACE:
        if (control || alt || focused_ < 0) return false;
        Press(focused_);
        return true;
    case VK_DOWN:
        if (focused_ < 0 || items_[focused_].role != TSkinRole::MenuButton) return false;
        Press(focused_);
        return true;
    default:
        return false;
    }
}

bool TSkinButtons::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_KEYDOWN:
        // Held down, Enter and Space would press again and again.
        if ((wp == VK_RETURN || wp == VK_SPACE) && (lp & (1 << 30))) return HasFocus();
        return KeyDown(wp);
    case WM_SETFOCUS:
        if (focused_ >= 0)
            ::NotifyWinEvent(EVENT_OBJECT_FOCUS, owner_.Handle(), OBJID_CLIENT, focused_ + 1);
        InvalidateRing();
        return false;
    case WM_KILLFOCUS:
        InvalidateRing();
        return false;
    case WM_UPDATEUISTATE:
        result = ::DefWindowProcW(owner_.Handle(), msg, wp, lp);
        InvalidateRing();
        return true;
    case WM_GETOBJECT:
        // Compared as 32 bits: 64-bit Windows may pass the id sign-extended or not.
        if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT)) return false;
        {
            ComPtr<IAccessible> object = Accessible();
            result = AccessibleResult(object.Get(), wp);
        }
        return true;
    default:
        if (msg == kSkinPressMessage) {
            Press(static_cast<int>(wp));
            return true;
        }
        return false;
    }
}

} // namespace tabulon
