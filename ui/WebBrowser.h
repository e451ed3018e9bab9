#pragma once
// The system's HTML browser control embedded in one of our windows. The host
// is a minimal OLE container of our own (client site, in-place site, frame).
// Where the system has no working browser, creation or navigation fails and
// the parent simply stays as it is: the browser is decoration, nothing
// depends on it.
#include <windows.h>

#include <exdisp.h>
#include <ole2.h>

#include <string>

#include "platform/ComPtr.h"

namespace tabulon {

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

    // Starts loading `address` (no flags, frame, post data or headers); the
    // page loads on its own later. False when the request is refused.
    bool Navigate(const std::wstring& address);

    // The browser's own window, null without a browser. The windows inside
    // the page are its descendants.
    HWND Window() const { return window_; }

    void Destroy();

  private:
    class Site;

    Site* site_ = nullptr;
    ComPtr<IOleObject> object_;
    ComPtr<IWebBrowser2> browser_;
    HWND window_ = nullptr;
};

// True for a right-button press or release aimed at a window inside
// `browser` (at any depth; not `browser` itself): the message the main
// window's hook drops so the page's own context menu never opens.
bool IsBrowserRightButton(HWND browser, const MSG& msg);

} // namespace tabulon
