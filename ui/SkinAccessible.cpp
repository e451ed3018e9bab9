#include "ui/SkinAccessible.h"

#include "platform/SystemLibrary.h"
#include "ui/SkinButtons.h"

#include <string>
#include <vector>

namespace tabulon {

namespace {

// oleacc is no KnownDLL: imported at load time, a copy left beside the
// program in a download folder would be loaded instead of the system's.
template <class Fn> Fn Oleacc(const char* name) {
    static const ModuleHandle library = LoadSystemLibrary(L"oleacc.dll");
    return LibraryFunction<Fn>(library.Get(), name);
}

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, long id) {
    ::VariantInit(out);
    out->vt = VT_I4;
    out->lVal = id;
}

// The id by which a child window's own object speaks of itself.
VARIANT Self() {
    VARIANT self;
    SetChild(&self, CHILDID_SELF);
    return self;
}

long RoleOf(TSkinRole role) {
    switch (role) {
    case TSkinRole::PushButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case TSkinRole::MenuButton:
        return ROLE_SYSTEM_BUTTONMENU;
    case TSkinRole::Text:
        break;
    }
    return ROLE_SYSTEM_STATICTEXT;
}

constexpr int kSelf = -1;
constexpr int kNone = -2;

} // namespace

void SetAccessibleName(HWND window, const wchar_t* name) {
    ComPtr<IAccPropServices> services;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, services.ReceiveVoid())))
        return;
    services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                             PROPID_ACC_NAME, name);
}

LRESULT AccessibleResult(IAccessible* object, WPARAM wp) {
    using Fn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    static const auto lresultFromObject = Oleacc<Fn>("LresultFromObject");
    return lresultFromObject ? lresultFromObject(IID_IAccessible, wp, object) : 0;
}

SkinAccessible::SkinAccessible(TSkinButtons& items, HWND window) : items_(&items), window_(window) {
    using Fn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    static const auto createStandard = Oleacc<Fn>("CreateStdAccessibleObject");
    if (createStandard)
        createStandard(window, OBJID_CLIENT, IID_IAccessible, standard_.ReceiveVoid());
}

STDMETHODIMP SkinAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                    UINT*) {
    return E_NOTIMPL;
}

int SkinAccessible::ItemOf(const VARIANT& child) const {
    if (child.vt != VT_I4) return kNone;
    if (child.lVal == CHILDID_SELF) return kSelf;
    return child.lVal >= 1 && child.lVal <= ChildCount() ? int(child.lVal - 1) : kNone;
}

std::vector<HWND> SkinAccessible::ChildWindows() const {
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(window_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

int SkinAccessible::ChildCount() const {
    return items_->Count() + static_cast<int>(ChildWindows().size());
}

int SkinAccessible::ChildOfWindow(HWND window) const {
    const std::vector<HWND> children = ChildWindows();
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i] == window) return items_->Count() + static_cast<int>(i);
    return kNone;
}

ComPtr<IAccessible> SkinAccessible::WindowObject(int child) const {
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    static const auto fromWindow = Oleacc<Fn>("AccessibleObjectFromWindow");
    const std::vector<HWND> children = ChildWindows();
    const size_t i = static_cast<size_t>(child - items_->Count());
    ComPtr<IAccessible> object;
    if (fromWindow && i < children.size())
        fromWindow(children[i], static_cast<DWORD>(OBJID_WINDOW), IID_IAccessible,
                   object.ReceiveVoid());
    return object;
}

HRESULT SkinAccessible::SetChildOrWindow(VARIANT* out, int child) const {
    if (child < items_->Count()) {
        SetChild(out, child + 1);
        return S_OK;
    }
    const ComPtr<IAccessible> object = WindowObject(child);
    if (!object) return S_FALSE;
    out->vt = VT_DISPATCH;
    out->pdispVal = object.Get();
    out->pdispVal->AddRef();
    return S_OK;
}

// Each question about a child: disconnected once the window is gone, the
// object's own questions to the standard object, a child window's to that
// window's own object, the skinned items' answered here.
struct SkinAccessible::Asked {
    HRESULT error = S_OK;         // a failure, which is the answer
    IAccessible* other = nullptr; // else the object to ask, about `child`
    VARIANT child{};
    int item = kNone;           // else the skinned item asked about
    ComPtr<IAccessible> window; // holds a child window's object while it is asked
};

SkinAccessible::Asked SkinAccessible::Resolve(const VARIANT& child) const {
    Asked asked;
    if (!items_) {
        asked.error = RPC_E_DISCONNECTED;
        return asked;
    }
    asked.item = ItemOf(child);
    if (asked.item == kNone) {
        asked.error = E_INVALIDARG;
    } else if (asked.item == kSelf) {
        asked.other = standard_.Get();
        asked.child = child;
        if (!asked.other) asked.error = DISP_E_MEMBERNOTFOUND;
    } else if (asked.item >= items_->Count()) {
        asked.window = WindowObject(asked.item);
        asked.other = asked.window.Get();
        asked.child = Self();
        if (!asked.other) asked.error = E_INVALIDARG;
    }
    return asked;
}

STDMETHODIMP SkinAccessible::get_accParent(IDispatch** parent) {
    if (!items_) return RPC_E_DISCONNECTED;
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return standard_ ? standard_->get_accParent(parent) : S_FALSE;
}

STDMETHODIMP SkinAccessible::get_accChildCount(long* count) {
    if (!items_) return RPC_E_DISCONNECTED;
    if (!count) return E_POINTER;
    *count = ChildCount();
    return S_OK;
}

STDMETHODIMP SkinAccessible::get_accChild(VARIANT child, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.window)
        return asked.window->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out));
    if (asked.other) return E_INVALIDARG;
    return S_FALSE; // a simple element: the parent answers for it
}

STDMETHODIMP SkinAccessible::get_accName(VARIANT child, BSTR* name) {
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->get_accName(asked.child, name);
    return Text(items_->At(asked.item).name, name);
}

STDMETHODIMP SkinAccessible::get_accValue(VARIANT child, BSTR* value) {
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->get_accValue(asked.child, value);
    if (value) *value = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP SkinAccessible::get_accDescription(VARIANT child, BSTR* description) {
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->get_accDescription(asked.child, description);
    const TSkinButton& b = items_->At(asked.item);
    return Text(b.tip == b.name ? std::wstring() : b.tip, description);
}

STDMETHODIMP SkinAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->get_accRole(asked.child, role);
    SetChild(role, RoleOf(items_->At(asked.item).role));
    return S_OK;
}

STDMETHODIMP SkinAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->get_accState(asked.child, state);
    SetChild(state, items_->State(asked.item));
    return S_OK;
}

STDMETHODIMP SkinAccessible::get_accHelp(VARIANT child, BSTR* help) {
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->get_accHelp(asked.child, help);
    return Text({}, help);
}

STDMETHODIMP SkinAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = -1;
    (void)child;
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP SkinAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->get_accKeyboardShortcut(asked.child, shortcut);
    return Text(items_->At(asked.item).shortcut, shortcut);
}

STDMETHODIMP SkinAccessible::get_accFocus(VARIANT* child) {
    if (!items_) return RPC_E_DISCONNECTED;
    if (!child) return E_POINTER;
    if (items_->HasFocus() && items_->Focused() >= 0) {
        SetChild(child, items_->Focused() + 1);
        return S_OK;
    }
    ::VariantInit(child);
    return standard_ ? standard_->get_accFocus(child) : S_FALSE;
}

STDMETHODIMP SkinAccessible::get_accSelection(VARIANT* children) {
    if (!children) return E_POINTER;
    ::VariantInit(children);
    return items_ ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
}

STDMETHODIMP SkinAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->get_accDefaultAction(asked.child, action);
    switch (items_->At(asked.item).role) {
    case TSkinRole::PushButton:
        return Text(items_->ActionNames.press, action);
    case TSkinRole::MenuButton:
        return Text(items_->ActionNames.open, action);
    case TSkinRole::Text:
        break;
    }
    return Text({}, action);
}

STDMETHODIMP SkinAccessible::accSelect(long flags, VARIANT child) {
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->accSelect(flags, asked.child);
    if (!(flags & SELFLAG_TAKEFOCUS) || !TSkinButtons::Focusable(items_->At(asked.item)))
        return DISP_E_MEMBERNOTFOUND;
    items_->Focus(asked.item);
    return S_OK;
}

STDMETHODIMP SkinAccessible::accLocation(long* left, long* top, long* width, long* height,
                                         VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->accLocation(left, top, width, height, asked.child);
    const RECT r = items_->ScreenRect(asked.item);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

STDMETHODIMP SkinAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!items_) return RPC_E_DISCONNECTED;
    if (!end) return E_POINTER;
    ::VariantInit(end);
    const int item = ItemOf(start);
    if (item == kNone) return E_INVALIDARG;
    // The skinned items, then the child windows.
    const int count = ChildCount();
    int to = kNone;
    if (item == kSelf) {
        if (direction == NAVDIR_FIRSTCHILD)
            to = 0;
        else if (direction == NAVDIR_LASTCHILD)
            to = count - 1;
        else
            return standard_ ? standard_->accNavigate(direction, start, end) : S_FALSE;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT) {
        to = item + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT) {
        to = item - 1;
    }
    if (to < 0 || to >= count) return S_FALSE;
    return SetChildOrWindow(end, to);
}

STDMETHODIMP SkinAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!items_) return RPC_E_DISCONNECTED;
    if (!child) return E_POINTER;
    const POINT p{x, y};
    for (int i = 0; i < items_->Count(); ++i) {
        const RECT r = items_->ScreenRect(i);
        if (items_->Visible(i) && ::PtInRect(&r, p)) {
            SetChild(child, i + 1);
            return S_OK;
        }
    }
    ::VariantInit(child);
    POINT inClient = p;
    ::ScreenToClient(window_, &inClient);
    const int window =
        ChildOfWindow(::ChildWindowFromPointEx(window_, inClient, CWP_SKIPINVISIBLE));
    if (window != kNone) return SetChildOrWindow(child, window);
    return standard_ ? standard_->accHitTest(x, y, child) : S_FALSE;
}

STDMETHODIMP SkinAccessible::accDoDefaultAction(VARIANT child) {
    const Asked asked = Resolve(child);
    if (asked.error != S_OK) return asked.error;
    if (asked.other) return asked.other->accDoDefaultAction(asked.child);
    if (!items_->At(asked.item).target) return DISP_E_MEMBERNOTFOUND;
    items_->PostPress(asked.item);
    return S_OK;
}

STDMETHODIMP SkinAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}
STDMETHODIMP SkinAccessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

} // namespace tabulon
