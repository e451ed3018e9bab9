#include "ui/WebBrowser.h"

#include <exdisp.h>
#include <ole2.h>

namespace tabulon {

// The container side of the embedding: tells the control where it lives and
// refuses everything a document host could offer beyond that (menus,
// toolbars, status text, undo).
class WebBrowser::Site : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
  public:
    Site(HWND parent, const RECT& bounds) : parent_(parent), bounds_(bounds) {}
    virtual ~Site() = default;

    void SetInPlaceObject(ComPtr<IOleInPlaceObject> object) { inPlace_ = std::move(object); }
    IOleInPlaceObject* InPlaceObject() const { return inPlace_.Get(); }
    void Forget() { inPlace_.Reset(); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        if (out) *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = parent_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override {
        if (frame) {
            *frame = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
        }
        if (document) *document = nullptr;
        if (position) *position = bounds_;
        if (clip) GetClientRect(parent_, clip);
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = GetAncestor(parent_, GA_ROOT);
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT position) override {
        // The control asks for another size; it keeps ours.
        if (inPlace_ && position) {
            RECT clip;
            GetClientRect(parent_, &clip);
            inPlace_->SetObjectRects(&bounds_, &clip);
        }
        return S_OK;
    }

    // IOleInPlaceUIWindow / IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  private:
    ULONG refs_ = 1;
    HWND parent_;
    RECT bounds_;
    ComPtr<IOleInPlaceObject> inPlace_;
};

bool WebBrowser::Create(HWND parent, const RECT& bounds) {
    Destroy();
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                object_.ReceiveVoid())))
        return false;
    site_ = new Site(parent, bounds);
    RECT position = bounds;
    bool ok = SUCCEEDED(object_->SetClientSite(static_cast<IOleClientSite*>(site_)));
    if (ok) {
        OleSetContainedObject(object_.Get(), TRUE);
        ok = SUCCEEDED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                                       static_cast<IOleClientSite*>(site_), 0, parent, &position));
    }
    if (ok) {
        site_->SetInPlaceObject(object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject));
        browser_ = object_.As<IWebBrowser2>(IID_IWebBrowser2);
        ok = site_->InPlaceObject() && browser_ &&
             SUCCEEDED(site_->InPlaceObject()->GetWindow(&window_)) && window_;
    }
    if (!ok) {
        Destroy();
        return false;
    }
    RECT clip;
    GetClientRect(parent, &clip);
    site_->InPlaceObject()->SetObjectRects(&position, &clip);
    return true;
}

bool WebBrowser::Navigate(const std::wstring& address) {
    if (!browser_) return false;
    BSTR url = SysAllocStringLen(address.data(), UINT(address.size()));
    if (!url) return false;
    VARIANT empty;
    VariantInit(&empty);
    HRESULT hr = browser_->Navigate(url, &empty, &empty, &empty, &empty);
    SysFreeString(url);
    return SUCCEEDED(hr);
}

void WebBrowser::Destroy() {
    browser_.Reset();
    if (site_ && site_->InPlaceObject()) site_->InPlaceObject()->InPlaceDeactivate();
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_.Reset();
    }
    if (site_) {
        site_->Forget();
        // The control has dropped its references; ours goes last.
        std::exchange(site_, nullptr)->Release();
    }
    window_ = nullptr;
}

bool IsBrowserRightButton(HWND browser, const MSG& msg) {
    if (msg.message != WM_RBUTTONDOWN && msg.message != WM_RBUTTONUP) return false;
    return browser && IsChild(browser, msg.hwnd);
}

} // namespace tabulon
