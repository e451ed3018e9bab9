#pragma once
// The accessible object (Microsoft Active Accessibility) of a form's client
// area whose controls have no windows: its children are the items of a
// TSkinButtons, simple elements with child ids 1..Count(), followed by the
// window's child windows (the note, the web panel) as the system's standard
// object lists them: full objects of their own (OBJID_WINDOW), with the next
// ids. What it does not know itself (the window's own name and parent) it
// asks the system's standard object of the same window.
#include <windows.h>

#include <oleacc.h>

#include "platform/ComObject.h"
#include "platform/ComPtr.h"

#include <vector>

namespace tabulon {

class TSkinButtons;

// Names a child window, such as an edit control, for screen readers (its
// own name would be its empty caption). Nothing where the system cannot.
void SetAccessibleName(HWND window, const wchar_t* name);

// The answer to WM_GETOBJECT that hands `object` to the asking client (0
// where the system's accessibility library is missing).
LRESULT AccessibleResult(IAccessible* object, WPARAM wp);

class SkinAccessible final : public DispatchObject<IAccessible, IID_IAccessible> {
  public:
    SkinAccessible(TSkinButtons& items, HWND window);

    // The window goes away: every later call answers "disconnected".
    void Forget() {
        items_ = nullptr;
        standard_.Reset();
    }

    // IDispatch: not offered (clients use the IAccessible methods).
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override;

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* child) override;
    STDMETHODIMP get_accSelection(VARIANT* children) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

  private:
    ~SkinAccessible() = default;
    // The child index for a child id (the items, then the child windows): -1
    // for the object itself, -2 for none.
    int ItemOf(const VARIANT& child) const;
    std::vector<HWND> ChildWindows() const;
    int ChildCount() const;
    // The child index of a child window, or -2.
    int ChildOfWindow(HWND window) const;
    // The own object of the child window at child index `child`; empty when gone.
    ComPtr<IAccessible> WindowObject(int child) const;
    // `out` names child index `child`: an item's id, a child window's object.
    HRESULT SetChildOrWindow(VARIANT* out, int child) const;
    // Who answers a question about `child` (see the definition).
    struct Asked;
    Asked Resolve(const VARIANT& child) const;

    TSkinButtons* items_;
    HWND window_;
    ComPtr<IAccessible> standard_;
};

} // namespace tabulon
