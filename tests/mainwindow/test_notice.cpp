// Notices over the real main window: ticks go on while a box is up, and a
// tick's notice then must not open a second box over the first.
#include "tests/mainwindow/MainWindowStart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tabulon {
namespace {

BOOL CALLBACK CollectBox(HWND wnd, LPARAM out) {
    wchar_t cls[16] = {};
    ::GetClassNameW(wnd, cls, 16);
    if (::IsWindowVisible(wnd) && wcscmp(cls, L"#32770") == 0)
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
    return TRUE;
}

size_t mostBoxes = 0;
HWND boxOwner = nullptr;
int ticksInside = 0;

// A tick while a box is up: the first two tell something more, the third
// closes whatever is open (every box, should the notices have stacked).
void CALLBACK TickWithNotice(HWND, UINT, UINT_PTR, DWORD) {
    std::vector<HWND> boxes;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectBox, LPARAM(&boxes));
    if (boxes.empty()) return;
    mostBoxes = std::max(mostBoxes, boxes.size());
    boxOwner = ::GetWindow(boxes.front(), GW_OWNER);
    if (++ticksInside <= 2) return Application.ShowNotice(L"a tick's notice");
    for (HWND box : boxes)
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(Notice, OneAtATimeOverTheMainWindow) {
    CreateMainWindow();
    MainFrm->Show();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &TickWithNotice);
    Application.ShowNotice(L"the first notice");
    EXPECT_EQ(ticksInside, 3);
    EXPECT_EQ(mostBoxes, 1u);
    EXPECT_EQ(boxOwner, MainFrm->Handle());
    // Once it is closed, the next notice shows again.
    mostBoxes = 0;
    Application.ShowNotice(L"the next notice");
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(mostBoxes, 1u);
}

} // namespace
} // namespace tabulon
