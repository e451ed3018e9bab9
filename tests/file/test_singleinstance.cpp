// One program per folder: the guard, and the hand-over to the first instance.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/SingleInstance.h"

namespace tabulon {
namespace {

TEST(SingleInstance, OneFolderOneProgram) {
    const std::wstring folder =
        L"C:\\Tabulon Test " + std::to_wstring(GetCurrentProcessId()) + L"\\";
    SingleInstance first(folder);
    EXPECT_TRUE(first.First());
    // The system names files without regard to case: so does the guard.
    SingleInstance second(L"c:\\tabulon test " + std::to_wstring(GetCurrentProcessId()) + L"\\");
    EXPECT_FALSE(second.First());
    SingleInstance elsewhere(folder + L"Other\\");
    EXPECT_TRUE(elsewhere.First());
    EXPECT_NE(SingleInstance::FolderKey(folder), SingleInstance::FolderKey(folder + L"Other\\"));
}

// The first instance's application window answers only for its own folder.
LRESULT CALLBACK FirstInstance(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    static int wakes = 0;
    if (msg == SingleInstance::WakeMessage()) {
        if (wp != SingleInstance::FolderKey(L"C:\\Mine\\")) return 0;
        SetWindowLongPtrW(wnd, GWLP_USERDATA, ++wakes);
        return SingleInstance::kAwake;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

TEST(SingleInstance, TheSecondStartWakesTheFirst) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = FirstInstance;
    wc.lpszClassName = L"TabulonApplication";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, L"TabulonApplication", L"Tabulon", WS_POPUP, 0, 0, 1, 1, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    SingleInstance first(L"C:\\Mine\\");
    SingleInstance second(L"C:\\MINE\\");
    ASSERT_FALSE(second.First());
    EXPECT_TRUE(second.WakeFirst());
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_USERDATA), 1);
    DestroyWindow(wnd);
}

} // namespace
} // namespace tabulon
