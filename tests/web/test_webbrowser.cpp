// The embedded browser's host and the right-button filter (under Wine, where
// the browser may be missing: the filter is tried on stand-in windows).
#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include "ui/WebBrowser.h"

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

} // namespace
} // namespace tabulon
