#pragma once
// The browser control's events (DWebBrowserEvents2) as the panel needs them:
// only the navigations the program starts itself stay inside the control;
// every other one, and every new window, is cancelled and its address handed
// to the owner; a failed navigation never shows the browser's error page.
#include <windows.h>

#include <exdisp.h>
#include <oaidl.h>

#include <functional>
#include <string>

#include "platform/ComObject.h"

namespace tabulon {

class WebBrowserEvents final : public DispatchObject<IDispatch, DIID_DWebBrowserEvents2> {
  public:
    struct Handlers {
        // True once for each navigation the program asked for (it is consumed).
        std::function<bool()> takeOwnNavigation;
        // A link the user followed, or a page that wanted a new window.
        std::function<void(const std::wstring& address)> openOutside;
        // A navigation failed; `failuresInRow` counts since the last success.
        std::function<void(int failuresInRow)> navigationFailed;
        // A page has loaded completely.
        std::function<void()> documentComplete;
    };

    explicit WebBrowserEvents(Handlers handlers) : handlers_(std::move(handlers)) {}

    // The owner goes away before the control lets go of this object.
    void Forget() { handlers_ = {}; }

    // IDispatch: only Invoke is meaningful.
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;

  private:
    ~WebBrowserEvents() = default;

    void BeforeNavigate(const std::wstring& address, VARIANT* cancel);
    void NewWindow(const std::wstring& address, VARIANT* cancel);
    void NavigateError(VARIANT* cancel);

    Handlers handlers_;
    int failuresInRow_ = 0;
};

} // namespace tabulon
