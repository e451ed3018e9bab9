// The embedded browser's host and the right-button filter (under Wine, where
// the browser may be missing: the filter is tried on stand-in windows, the
// host's document handler and the event sink are called as the control
// would call them).
#include <windows.h>

#include <exdispid.h>
#include <mshtmhst.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/WebBrowser.h"
#include "ui/WebBrowserEvents.h"
#include "ui/WebBrowserSite.h"

namespace tabulon {
namespace {

HWND MakeWindow(HWND parent, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExW(0, L"STATIC", L"", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
}

// Destroys a test window and its children.
struct TopWindow {
    HWND hwnd;
    ~TopWindow() {
        if (hwnd) DestroyWindow(hwnd);
    }
    HWND Get() const { return hwnd; }
    explicit operator bool() const { return hwnd != nullptr; }
};

MSG Message(HWND target, UINT number) {
    MSG msg{};
    msg.hwnd = target;
    msg.message = number;
    return msg;
}

TEST(BrowserRightButton, DroppedOnlyForInnerWindows) {
    TopWindow top{MakeWindow(nullptr, WS_POPUP, 0, 0, 300, 300)};
    HWND panel = MakeWindow(top.Get(), WS_CHILD, 1, 1, 192, 185);
    HWND browser = MakeWindow(panel, WS_CHILD, -11, -16, 2000, 841);
    HWND view = MakeWindow(browser, WS_CHILD, 0, 0, 100, 100);
    HWND page = MakeWindow(view, WS_CHILD, 0, 0, 100, 100);
    HWND other = MakeWindow(top.Get(), WS_CHILD, 200, 0, 50, 50);
    ASSERT_TRUE(top && panel && browser && view && page && other);

    for (HWND inner : {view, page}) {
        EXPECT_TRUE(IsBrowserRightButton(browser, Message(inner, WM_RBUTTONDOWN)));
        EXPECT_TRUE(IsBrowserRightButton(browser, Message(inner, WM_RBUTTONUP)));
        for (UINT pass : {UINT(WM_LBUTTONDOWN), UINT(WM_LBUTTONUP), UINT(WM_RBUTTONDBLCLK),
                          UINT(WM_CONTEXTMENU), UINT(WM_MOUSEWHEEL), UINT(WM_KEYDOWN)})
            EXPECT_FALSE(IsBrowserRightButton(browser, Message(inner, pass))) << pass;
    }
    // The browser's own window, its ancestors and strangers pass.
    for (HWND outer : {browser, panel, top.Get(), other, HWND(nullptr)})
        EXPECT_FALSE(IsBrowserRightButton(browser, Message(outer, WM_RBUTTONDOWN)));
    // Without a browser nothing is dropped.
    EXPECT_FALSE(IsBrowserRightButton(nullptr, Message(page, WM_RBUTTONDOWN)));
}

TEST(WebBrowserHost, FailsQuietlyOrEmbedsInsideThePanel) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        TopWindow top{MakeWindow(nullptr, WS_POPUP, 0, 0, 300, 300)};
        HWND panel = MakeWindow(top.Get(), WS_CHILD | WS_CLIPCHILDREN, 1, 1, 192, 185);
        WebBrowser web;
        EXPECT_EQ(web.Window(), nullptr);
        EXPECT_FALSE(web.Navigate(L"http://tabulon.example.com/r/B90d.htm"));
        RECT bounds{-11, -16, -11 + 2000, -16 + 841};
        if (web.Create(panel, bounds)) {
            ASSERT_NE(web.Window(), nullptr);
            // Quiet and ours, read back from the control's own properties.
            VARIANT_BOOL silent = VARIANT_FALSE, dropTarget = VARIANT_TRUE;
            EXPECT_EQ(web.Control()->get_Silent(&silent), S_OK);
            EXPECT_EQ(silent, VARIANT_TRUE);
            EXPECT_EQ(web.Control()->get_RegisterAsDropTarget(&dropTarget), S_OK);
            EXPECT_EQ(dropTarget, VARIANT_FALSE);
            EXPECT_TRUE(IsChild(panel, web.Window()));
            RECT r;
            GetWindowRect(web.Window(), &r);
            POINT origin{0, 0};
            ClientToScreen(panel, &origin);
            EXPECT_EQ(r.left - origin.x, -11);
            EXPECT_EQ(r.top - origin.y, -16);
            EXPECT_EQ(r.right - r.left, 2000);
            EXPECT_EQ(r.bottom - r.top, 841);
            web.Navigate(L"about:blank"); // may be refused where no engine exists
        } else {
            EXPECT_EQ(web.Window(), nullptr);
            EXPECT_FALSE(web.Navigate(L"about:blank"));
        }
        web.Destroy();
        EXPECT_EQ(web.Window(), nullptr);
        web.Destroy(); // twice is harmless
    }
    OleUninitialize();
}

TEST(WebBrowserSite, NoContextMenuByAnyRoute) {
    TopWindow top{MakeWindow(nullptr, WS_POPUP, 0, 0, 300, 300)};
    RECT bounds{-11, -16, 1989, 825};
    auto* site = new WebBrowserSite(top.Get(), bounds);
    IDocHostUIHandler* ui = nullptr;
    ASSERT_EQ(site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&ui)), S_OK);
    // The right button, the Menu key, Shift+F10 and a press-and-hold all end
    // in ShowContextMenu; "handled" (S_OK) means the control shows nothing.
    POINT at{50, 50};
    for (DWORD kind :
         {DWORD(CONTEXT_MENU_DEFAULT), DWORD(CONTEXT_MENU_IMAGE), DWORD(CONTEXT_MENU_CONTROL),
          DWORD(CONTEXT_MENU_TABLE), DWORD(CONTEXT_MENU_TEXTSELECT), DWORD(CONTEXT_MENU_ANCHOR),
          DWORD(CONTEXT_MENU_UNKNOWN)})
        EXPECT_EQ(ui->ShowContextMenu(kind, &at, nullptr, nullptr), S_OK) << kind;
    EXPECT_EQ(ui->ShowContextMenu(CONTEXT_MENU_DEFAULT, nullptr, nullptr, nullptr), S_OK);

    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_EQ(ui->GetHostInfo(&info), S_OK);
    EXPECT_TRUE(info.dwFlags & DOCHOSTUIFLAG_NO3DBORDER);
    EXPECT_TRUE(info.dwFlags & DOCHOSTUIFLAG_DISABLE_HELP_MENU);
    EXPECT_EQ(ui->GetHostInfo(nullptr), E_POINTER);
    // No drop target of ours and no script access to the program.
    IDropTarget* drop = reinterpret_cast<IDropTarget*>(1);
    ui->GetDropTarget(nullptr, &drop);
    EXPECT_EQ(drop, nullptr);
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    ui->GetExternal(&external);
    EXPECT_EQ(external, nullptr);

    HWND window = nullptr;
    EXPECT_EQ(site->GetWindow(&window), S_OK);
    EXPECT_EQ(window, top.Get());
    ui->Release();
    site->Release(); // the last reference: the site goes
}

// Calls the sink as the control does: arguments last first, strings and the
// Cancel flag by reference.
class EventCall {
  public:
    void AddVariantRef(const wchar_t* text) {
        strings_.push_back(SysAllocString(text));
        VARIANT inner{};
        inner.vt = VT_BSTR;
        inner.bstrVal = strings_.back();
        inners_.push_back(inner);
        Push(VT_BYREF | VT_VARIANT);
    }
    void AddString(const wchar_t* text) {
        strings_.push_back(SysAllocString(text));
        VARIANT v{};
        v.vt = VT_BSTR;
        v.bstrVal = strings_.back();
        args_.push_back(v);
    }
    void AddCancel() { Push(VT_BYREF | VT_BOOL); }
    void AddEmpty() { args_.push_back(VARIANT{}); }
    void AddLong(LONG value) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = value;
        args_.push_back(v);
    }
    bool Cancelled() const { return cancel_ == VARIANT_TRUE; }

    HRESULT Send(IDispatch* sink, DISPID id) {
        // Pointers into inners_ are taken once it no longer grows.
        size_t inner = 0;
        for (auto& [index, vt] : pending_) {
            VARIANT& v = args_[index];
            v.vt = vt;
            if (vt == (VT_BYREF | VT_VARIANT))
                v.pvarVal = &inners_[inner++];
            else
                v.pboolVal = &cancel_;
        }
        std::vector<VARIANT> reversed(args_.rbegin(), args_.rend());
        DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
        return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    ~EventCall() {
        for (BSTR s : strings_)
            SysFreeString(s);
    }

  private:
    void Push(VARTYPE vt) {
        pending_.push_back({args_.size(), vt});
        args_.push_back(VARIANT{});
    }
    std::vector<VARIANT> args_, inners_;
    std::vector<std::pair<size_t, VARTYPE>> pending_;
    std::vector<BSTR> strings_;
    VARIANT_BOOL cancel_ = VARIANT_FALSE;
};

struct EventLog {
    int own = 0; // navigations the program still has pending
    std::vector<std::wstring> opened;
    std::vector<int> failures;
    int completed = 0;
    WebBrowserEvents* Make() {
        return new WebBrowserEvents({[this] { return own > 0 && own-- > 0; },
                                     [this](const std::wstring& a) { opened.push_back(a); },
                                     [this](int n) { failures.push_back(n); },
                                     [this] { ++completed; }});
    }
};

bool BeforeNavigate(IDispatch* sink, const wchar_t* url) {
    EventCall call; // (pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
    call.AddEmpty();
    call.AddVariantRef(url);
    call.AddEmpty();
    call.AddEmpty();
    call.AddEmpty();
    call.AddEmpty();
    call.AddCancel();
    EXPECT_EQ(call.Send(sink, DISPID_BEFORENAVIGATE2), S_OK);
    return call.Cancelled();
}

bool NavigateError(IDispatch* sink, const wchar_t* url) {
    EventCall call; // (pDisp, URL, TargetFrameName, StatusCode, Cancel)
    call.AddEmpty();
    call.AddVariantRef(url);
    call.AddEmpty();
    call.AddEmpty();
    call.AddCancel();
    EXPECT_EQ(call.Send(sink, DISPID_NAVIGATEERROR), S_OK);
    return call.Cancelled();
}

// Each loaded page is zoomed again: the browser reports it once per page.
TEST(WebBrowserEvents, ACompletedPageIsReportedOnce) {
    EventLog log;
    WebBrowserEvents* sink = log.Make();
    EventCall call; // (pDisp, URL)
    call.AddEmpty();
    call.AddVariantRef(L"res://Tabulon.exe/B90D.HTM");
    EXPECT_EQ(call.Send(sink, DISPID_DOCUMENTCOMPLETE), S_OK);
    EXPECT_EQ(log.completed, 1);
    sink->Forget();
    EXPECT_EQ(call.Send(sink, DISPID_DOCUMENTCOMPLETE), S_OK);
    EXPECT_EQ(log.completed, 1) << "a forgotten owner hears nothing";
    sink->Release();
}

TEST(WebBrowserEvents, OnlyTheProgramNavigatesThePanel) {
    EventLog log;
    WebBrowserEvents* sink = log.Make();
    log.own = 1;
    EXPECT_FALSE(BeforeNavigate(sink, L"res://C:\\t\\Tabulon.exe/B90D.HTM"));
    // A link the user clicks: cancelled here, handed to the owner.
    EXPECT_TRUE(BeforeNavigate(sink, L"res://C:\\t\\Tabulon.exe/B90a.htm"));
    EXPECT_TRUE(BeforeNavigate(sink, L"http://example.org/"));
    ASSERT_EQ(log.opened.size(), 2u);
    EXPECT_EQ(log.opened[0], L"res://C:\\t\\Tabulon.exe/B90a.htm");
    EXPECT_EQ(log.opened[1], L"http://example.org/");

    // A page asking for a new window (target="_blank", script, Shift+click).
    EventCall window; // (ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl)
    window.AddEmpty();
    window.AddCancel();
    window.AddLong(0);
    window.AddString(L"res://C:\\t\\Tabulon.exe/B90D.HTM");
    window.AddString(L"mailto:someone@example.org");
    EXPECT_EQ(window.Send(sink, DISPID_NEWWINDOW3), S_OK);
    EXPECT_TRUE(window.Cancelled());
    ASSERT_EQ(log.opened.size(), 3u);
    EXPECT_EQ(log.opened[2], L"mailto:someone@example.org");
    sink->Release();
}

TEST(WebBrowserEvents, FailuresAreCancelledAndCountedUntilAPageArrives) {
    EventLog log;
    WebBrowserEvents* sink = log.Make();
    EXPECT_TRUE(NavigateError(sink, L"res://C:\\gone\\Tabulon.exe/B90D.HTM"));
    EXPECT_TRUE(NavigateError(sink, L"about:blank"));
    EventCall done; // (pDisp, URL)
    done.AddEmpty();
    done.AddVariantRef(L"about:blank");
    EXPECT_EQ(done.Send(sink, DISPID_NAVIGATECOMPLETE2), S_OK);
    EXPECT_TRUE(NavigateError(sink, L"http://example.org/"));
    EXPECT_EQ(log.failures, (std::vector<int>{1, 2, 1}));
    EXPECT_TRUE(log.opened.empty());
    sink->Release();
}

TEST(WebBrowserEvents, MalformedCallsDoNothing) {
    EventLog log;
    WebBrowserEvents* sink = log.Make();
    // Too few arguments, none at all, an unknown event: no crash, no action.
    EventCall shortCall;
    shortCall.AddCancel();
    EXPECT_EQ(shortCall.Send(sink, DISPID_BEFORENAVIGATE2), S_OK);
    EXPECT_EQ(sink->Invoke(DISPID_NEWWINDOW3, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr,
                           nullptr, nullptr),
              S_OK);
    EventCall other;
    other.AddString(L"x");
    EXPECT_EQ(other.Send(sink, 9999), S_OK);
    EXPECT_TRUE(log.opened.empty());
    EXPECT_TRUE(log.failures.empty());
    // After the owner has gone, events are still answered (and cancelled).
    sink->Forget();
    EXPECT_TRUE(BeforeNavigate(sink, L"http://example.org/"));
    sink->Release();
}

} // namespace
} // namespace tabulon
