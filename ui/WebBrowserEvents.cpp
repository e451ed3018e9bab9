#include "ui/WebBrowserEvents.h"

#include <exdisp.h>
#include <exdispid.h>

namespace tabulon {
namespace {

// The string an event argument carries, through any by-reference wrapping.
std::wstring StringOf(const VARIANT* v) {
    for (int depth = 0; v && depth < 4; ++depth) {
        if (v->vt == VT_BSTR) return v->bstrVal ? std::wstring(v->bstrVal) : std::wstring();
        if (v->vt == (VT_BYREF | VT_BSTR))
            return v->pbstrVal && *v->pbstrVal ? std::wstring(*v->pbstrVal) : std::wstring();
        if (v->vt != (VT_BYREF | VT_VARIANT)) break;
        v = v->pvarVal;
    }
    return {};
}

// The Cancel argument is a VARIANT_BOOL passed by reference.
void SetCancel(VARIANT* cancel) {
    if (cancel && cancel->vt == (VT_BYREF | VT_BOOL) && cancel->pboolVal)
        *cancel->pboolVal = VARIANT_TRUE;
}

// Event arguments arrive last first: argument i of n is rgvarg[n - 1 - i].
VARIANT* Argument(DISPPARAMS* params, UINT index, UINT count) {
    if (!params || params->cArgs != count || index >= count) return nullptr;
    return &params->rgvarg[count - 1 - index];
}

} // namespace

STDMETHODIMP WebBrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                      EXCEPINFO*, UINT*) {
    // Nothing may escape into the control: a failing handler just does nothing.
    try {
        // An event whose arguments are not as documented is left alone.
        const UINT count = params ? params->cArgs : 0;
        switch (id) {
        case DISPID_BEFORENAVIGATE2: // (pDisp, URL, Flags, Frame, PostData, Headers, Cancel)
            if (count == 7)
                BeforeNavigate(StringOf(Argument(params, 1, 7)), Argument(params, 6, 7));
            break;
        case DISPID_NEWWINDOW3: // (ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl)
            if (count == 5) NewWindow(StringOf(Argument(params, 4, 5)), Argument(params, 1, 5));
            break;
        case DISPID_NAVIGATEERROR: // (pDisp, URL, Frame, StatusCode, Cancel)
            if (count == 5) NavigateError(Argument(params, 4, 5));
            break;
        case DISPID_NAVIGATECOMPLETE2:
            failuresInRow_ = 0;
            break;
        case DISPID_DOCUMENTCOMPLETE:
            if (handlers_.documentComplete) handlers_.documentComplete();
            break;
        default:
            break;
        }
    } catch (...) {
    }
    return S_OK;
}

void WebBrowserEvents::BeforeNavigate(const std::wstring& address, VARIANT* cancel) {
    if (handlers_.takeOwnNavigation && handlers_.takeOwnNavigation()) return;
    SetCancel(cancel);
    if (handlers_.openOutside) handlers_.openOutside(address);
}

void WebBrowserEvents::NewWindow(const std::wstring& address, VARIANT* cancel) {
    SetCancel(cancel);
    if (handlers_.openOutside) handlers_.openOutside(address);
}

void WebBrowserEvents::NavigateError(VARIANT* cancel) {
    // Cancelling keeps the browser's own error page away.
    SetCancel(cancel);
    ++failuresInRow_;
    if (handlers_.navigationFailed) handlers_.navigationFailed(failuresInRow_);
}

} // namespace tabulon
