#include "ui/WebBrowserSite.h"

namespace tabulon {

STDMETHODIMP WebBrowserSite::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDocHostUIHandler)
        *out = static_cast<IDocHostUIHandler*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP WebBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserSite::GetContainer(IOleContainer** out) {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP WebBrowserSite::GetWindow(HWND* out) {
    if (!out) return E_POINTER;
    *out = parent_;
    return S_OK;
}

STDMETHODIMP WebBrowserSite::GetWindowContext(IOleInPlaceFrame** frame,
                                              IOleInPlaceUIWindow** document, LPRECT position,
                                              LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame) {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
    }
    if (document) *document = nullptr;
    if (position) *position = bounds_;
    if (clip) ::GetClientRect(parent_, clip);
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = ::GetAncestor(parent_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP WebBrowserSite::OnPosRectChange(LPCRECT position) {
    // The control asks for another size; it keeps ours.
    if (inPlace_ && position) {
        RECT clip;
        ::GetClientRect(parent_, &clip);
        inPlace_->SetObjectRects(&bounds_, &clip);
    }
    return S_OK;
}

STDMETHODIMP WebBrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    if (info->cbSize < sizeof(DOCHOSTUIINFO)) return E_INVALIDARG;
    info->dwFlags = kHostFlags;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

STDMETHODIMP WebBrowserSite::GetOptionKeyPath(LPOLESTR* out, DWORD) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserSite::GetDropTarget(IDropTarget*, IDropTarget** out) {
    // The control is not registered as a drop target at all; this keeps its
    // own one unchanged should it ask.
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowserSite::GetExternal(IDispatch** out) {
    if (out) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP WebBrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
    if (out) *out = nullptr;
    return S_FALSE;
}

STDMETHODIMP WebBrowserSite::FilterDataObject(IDataObject*, IDataObject** out) {
    if (out) *out = nullptr;
    return S_FALSE;
}

} // namespace tabulon
