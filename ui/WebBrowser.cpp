#include "ui/WebBrowser.h"

#include <exdisp.h>
#include <ole2.h>

#include <utility>

#include "ui/WebBrowserEvents.h"
#include "ui/WebBrowserSite.h"

namespace tabulon {

bool WebBrowser::Create(HWND parent, const RECT& bounds) {
    Destroy();
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                object_.ReceiveVoid())))
        return false;
    site_ = new WebBrowserSite(parent, bounds);
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
    // Script errors would open dialogs; a file or link dropped on the panel
    // would navigate it.
    browser_->put_Silent(VARIANT_TRUE);
    browser_->put_RegisterAsDropTarget(VARIANT_FALSE);
    ConnectEvents();
    return true;
}

void WebBrowser::ConnectEvents() {
    auto points = browser_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
    if (!points ||
        FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, eventPoint_.Receive())))
        return;
    events_ = new WebBrowserEvents({
        [this] { return std::exchange(ownNavigation_, false); },
        [this](const std::wstring& address) {
            if (linkHandler_) linkHandler_(address);
        },
        [this](int failuresInRow) { NavigationFailed(failuresInRow); },
        [this] { DocumentComplete(); },
    });
    if (FAILED(eventPoint_->Advise(static_cast<IDispatch*>(events_), &eventCookie_))) {
        eventCookie_ = 0;
        eventPoint_.Reset();
    }
}

void WebBrowser::NavigationFailed(int failuresInRow) {
    // First our own page, then an empty one; never a loop of failures.
    if (failuresInRow == 1 && !fallback_.empty())
        Navigate(fallback_);
    else if (failuresInRow <= 2)
        Navigate(L"about:blank");
}

bool WebBrowser::ShowPage(std::string html) {
    pendingPage_ = std::move(html);
    if (Navigate(L"about:blank")) return true;
    pendingPage_.clear();
    return false;
}

void WebBrowser::DocumentComplete() {
    // The empty page is there: the waiting page goes into its document (only
    // once; its own completion comes back here with nothing waiting).
    if (!pendingPage_.empty() && browser_) {
        const std::string page = std::exchange(pendingPage_, {});
        ComPtr<IDispatch> document;
        if (SUCCEEDED(browser_->get_Document(document.Receive())) && document)
            LoadPageIntoDocument(document.Get(), page);
    }
    ApplyZoom();
}

HRESULT LoadPageIntoDocument(IUnknown* document, std::string_view html) {
    if (!document) return E_POINTER;
    ComPtr<IPersistStreamInit> persist;
    HRESULT hr = document->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid());
    if (FAILED(hr)) return hr;
    ComPtr<IStream> stream;
    hr = ::CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive());
    if (FAILED(hr)) return hr;
    ULONG written = 0;
    hr = stream->Write(html.data(), static_cast<ULONG>(html.size()), &written);
    if (FAILED(hr) || written != html.size()) return FAILED(hr) ? hr : E_FAIL;
    const LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    hr = persist->InitNew();
    return SUCCEEDED(hr) ? persist->Load(stream.Get()) : hr;
}

void WebBrowser::SetZoom(int percent) {
    zoom_ = percent;
    ApplyZoom();
}

void WebBrowser::ApplyZoom() {
    // The optical zoom scales text, pictures and layout alike. It needs a
    // loaded page: before one has loaded this fails, and each completed page
    // gets the zoom again.
    if (!browser_) return;
    VARIANT zoom;
    VariantInit(&zoom);
    zoom.vt = VT_I4;
    zoom.lVal = zoom_;
    browser_->ExecWB(OLECMDID_OPTICAL_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &zoom, nullptr);
}

void WebBrowser::SetBounds(const RECT& bounds) {
    if (!site_ || !site_->InPlaceObject() || !window_) return;
    RECT position = bounds, clip;
    GetClientRect(GetParent(window_), &clip);
    site_->InPlaceObject()->SetObjectRects(&position, &clip);
}

bool WebBrowser::Navigate(const std::wstring& address) {
    if (!browser_) return false;
    BSTR url = SysAllocStringLen(address.data(), UINT(address.size()));
    if (!url) return false;
    VARIANT empty;
    VariantInit(&empty);
    // The control asks the events whether to go on before it starts; this
    // navigation is ours, every other one is a link the user followed.
    ownNavigation_ = true;
    HRESULT hr = browser_->Navigate(url, &empty, &empty, &empty, &empty);
    SysFreeString(url);
    if (FAILED(hr)) ownNavigation_ = false;
    return SUCCEEDED(hr);
}

void WebBrowser::Destroy() {
    if (eventPoint_) {
        eventPoint_->Unadvise(eventCookie_);
        eventPoint_.Reset();
        eventCookie_ = 0;
    }
    if (events_) {
        events_->Forget();
        std::exchange(events_, nullptr)->Release();
    }
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
    ownNavigation_ = false;
    pendingPage_.clear();
}

bool IsBrowserRightButton(HWND browser, const MSG& msg) {
    if (msg.message != WM_RBUTTONDOWN && msg.message != WM_RBUTTONUP) return false;
    return browser && IsChild(browser, msg.hwnd);
}

} // namespace tabulon
