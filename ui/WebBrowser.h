#pragma once
// The system's HTML browser control embedded in one of our windows. The host
// is a minimal OLE container of our own (WebBrowserSite). The control is kept
// quiet and ours: no script-error dialogs, no context menu, no navigation by
// a dropped file or link, no new browser windows, and only the program itself
// navigates it; links the user follows are handed to the link handler.
// Where the system has no working browser, creation or navigation fails and
// the parent simply stays as it is: the browser is decoration, nothing
// depends on it.
#include <windows.h>

#include <exdisp.h>
#include <ocidl.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/ComPtr.h"

namespace tabulon {

class WebBrowserSite;
class WebBrowserEvents;

class WebBrowser {
  public:
    WebBrowser() = default;
    WebBrowser(const WebBrowser&) = delete;
    WebBrowser& operator=(const WebBrowser&) = delete;
    ~WebBrowser() { Destroy(); }

    // Embeds a browser in `parent` covering `bounds` (parent client
    // coordinates; it may reach beyond the parent, which clips it). Needs COM
    // initialised on this thread. False when the control cannot be created.
    bool Create(HWND parent, const RECT& bounds);

    // Moves the browser to `bounds` in the parent's client coordinates (a
    // change of display scale). Nothing without a browser.
    void SetBounds(const RECT& bounds);

    // Starts loading `address` (no flags, frame, post data or headers); the
    // page loads on its own later. False when the request is refused.
    bool Navigate(const std::wstring& address);

    // Shows the page `html` (its bytes, as a file would hold them) with no
    // address: an empty page first, then the bytes through the document once
    // that has loaded. No path is involved, so the program's folder may have
    // any name. False when the empty page is refused.
    bool ShowPage(std::string html);

    // Receives the address of every link the user follows and of every page
    // that asks for a new window; the control itself stays where it is.
    void SetLinkHandler(std::function<void(const std::wstring& address)> handler) {
        linkHandler_ = std::move(handler);
    }

    // Shown when a navigation fails, instead of the browser's error page;
    // should that fail too, the control shows an empty page.
    void SetFallbackPage(std::wstring address) { fallback_ = std::move(address); }

    // The page's zoom in percent (100: as the browser draws it), kept for
    // every page loaded later. Nothing without a browser or a page.
    void SetZoom(int percent);
    int Zoom() const { return zoom_; }

    // The browser's own window, null without a browser. The windows inside
    // the page are its descendants.
    HWND Window() const { return window_; }

    // The control itself, null without a browser (its settings can be read).
    IWebBrowser2* Control() const { return browser_.Get(); }

    void Destroy();

  private:
    void ConnectEvents();
    void NavigationFailed(int failuresInRow);
    void ApplyZoom();
    void DocumentComplete();

    WebBrowserSite* site_ = nullptr;
    WebBrowserEvents* events_ = nullptr;
    ComPtr<IConnectionPoint> eventPoint_;
    DWORD eventCookie_ = 0;
    ComPtr<IOleObject> object_;
    ComPtr<IWebBrowser2> browser_;
    HWND window_ = nullptr;
    bool ownNavigation_ = false;
    std::function<void(const std::wstring&)> linkHandler_;
    std::wstring fallback_;
    std::string pendingPage_;
    int zoom_ = 100;
};

// Loads `html` into a browser document (IPersistStreamInit) in place of what
// it holds.
HRESULT LoadPageIntoDocument(IUnknown* document, std::string_view html);

// True for a right-button press or release aimed at a window inside
// `browser` (at any depth; not `browser` itself): the message the main
// window's hook drops so the page's own context menu never opens.
bool IsBrowserRightButton(HWND browser, const MSG& msg);

} // namespace tabulon
