// One program per note: the guard, and the hand-over to the first instance.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <memory>

#include "platform/SingleInstance.h"
#include "tests/platform/TempFolder.h"

namespace tabulon {
namespace {

// The lock file in Data\ holds the note for one program at a time, whatever
// the case of the path, and goes with the program that held it.
TEST(SingleInstance, OneNoteOneProgram) {
    testing::TempFolder work;
    ASSERT_TRUE(CreateDirectoryW((work / L"Data").c_str(), nullptr));
    std::wstring upper = work.Path();
    for (wchar_t& c : upper)
        c = wchar_t(towupper(c));
    auto first = std::make_unique<SingleInstance>(work.Path());
    EXPECT_TRUE(first->First());
    SingleInstance second(upper);
    EXPECT_FALSE(second.First());
    EXPECT_FALSE(second.TakeOver());
    first.reset(); // the first one ends
    EXPECT_EQ(work.Listing(work / L"Data\\"), L"");
    EXPECT_TRUE(second.TakeOver());
    EXPECT_FALSE(SingleInstance(work.Path()).First());
    // No Data folder to hold a lock: nothing to guard, nobody kept out.
    testing::TempFolder bare;
    SingleInstance one(bare.Path());
    EXPECT_TRUE(one.First() && SingleInstance(bare.Path()).First());
}

// The first instance's application window answers only for its own folder.
LRESULT CALLBACK FirstInstance(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    static int wakes = 0;
    if (msg == SingleInstance::WakeMessage()) {
        if (wp != SingleInstance::FolderKey(L"C:\\Mine\\")) return 0;
        SetWindowLongPtrW(wnd, GWLP_USERDATA, ++wakes);
        return kWakeAnswer;
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
    SingleInstance second(L"C:\\MINE\\");
    EXPECT_TRUE(second.WakeFirst());
    EXPECT_FALSE(second.WakeFirst(wnd)); // our own window is not the first
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_USERDATA), 1);
    DestroyWindow(wnd);
}

} // namespace
} // namespace tabulon
