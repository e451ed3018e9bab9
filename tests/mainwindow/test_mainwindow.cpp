// The real main window, built from its layout and resources, driven by
// synthetic mouse messages sent to its window.
#include "tests/mainwindow/MainWindowStart.h"
#include "app/PictureKinds.h"
#include "app/RichNoteEditor.h"
#include "app/uMain.h"
#include "ui/Application.h"
#include "platform/ComPtr.h"
#include "platform/FileIO.h"
#include "platform/SystemLibrary.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <functional>
#include <vector>

namespace tabulon {

namespace {

class MainWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        CreateMainWindow();
        MainFrm->Show();
    }

    void SetUp() override {
        DrainQueue();
        // A test that closed the window left the editor taking no keys, as
        // the program then ends; here it goes on.
        ::SendMessageW(MainFrm->rdtMain->Handle(), EM_SETREADONLY, FALSE, 0);
        // Every test starts with both buttons normal and no press in progress.
        Send(WM_MOUSEMOVE, 0, kBackX, kBackY);
        ASSERT_TRUE(Shows(MainFrm->img_close_normal));
        ASSERT_TRUE(Shows(MainFrm->img_mini_normal));
    }

    static LRESULT Send(UINT msg, WPARAM keys, int x, int y) {
        return ::SendMessageW(MainFrm->Handle(), msg, keys, MAKELPARAM(x, y));
    }

    static bool Shows(const TControl* c) { return c->Visible(); }

    // The rule of the taskbar and of Alt+Tab: a visible top-level window that
    // is unowned or marked as an application window, and no tool window.
    static bool TaskbarShows(HWND wnd) {
        const LONG ex = ::GetWindowLongW(wnd, GWL_EXSTYLE);
        if (!::IsWindowVisible(wnd) || (ex & WS_EX_TOOLWINDOW)) return false;
        return (ex & WS_EX_APPWINDOW) || ::GetWindow(wnd, GW_OWNER) == nullptr;
    }
    // EnumWindows: this process's windows that the taskbar lists.
    static BOOL CALLBACK CollectTaskbarWindow(HWND wnd, LPARAM out) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(wnd, &pid);
        if (pid == ::GetCurrentProcessId() && TaskbarShows(wnd))
            reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
        return TRUE;
    }

    // Removes queued messages; true when a quit request was among them.
    static bool DrainQueue() {
        bool quit = false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                quit = true;
            else
                ::DispatchMessageW(&msg);
        }
        return quit;
    }

    // The window's accessible object as a screen reader asks for it. No call
    // crosses a process: unpacked in this process it is no proxy, and where
    // oleacc cannot unpack it the object is taken from the window itself.
    static ComPtr<IAccessible> ClientObject() {
        const LRESULT answer =
            ::SendMessageW(MainFrm->Handle(), WM_GETOBJECT, 0, LPARAM(OBJID_CLIENT));
        EXPECT_GT(answer, 0);
        ComPtr<IAccessible> object;
        const auto unpack = Oleacc<decltype(&::ObjectFromLresult)>("ObjectFromLresult");
        if (!unpack || FAILED(unpack(answer, IID_IAccessible, 0, object.ReceiveVoid())))
            object = MainFrm->skinButtons.Accessible();
        return object;
    }
    // Loaded, not linked: oleacc's import library clashes with libuuid's IIDs.
    template <class Fn> static Fn Oleacc(const char* name) {
        static const ModuleHandle oleacc = LoadSystemLibrary(L"oleacc.dll");
        return LibraryFunction<Fn>(oleacc.Get(), name);
    }
    static VARIANT Id(long id) {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = id;
        return v;
    }
    // The window of a child given as a full object (0 for anything else).
    static HWND WindowOf(VARIANT v) {
        HWND window = nullptr;
        ComPtr<IOleWindow> ole;
        if (v.vt == VT_DISPATCH) v.pdispVal->QueryInterface(IID_IOleWindow, ole.ReceiveVoid());
        if (ole) ole->GetWindow(&window);
        ::VariantClear(&v);
        return window;
    }

    // Inside the close and the minimise button, and over the background.
    static constexpr int kCloseX = 560, kCloseY = 10;
    static constexpr int kMiniX = 528, kMiniY = 10;
    static constexpr int kBackX = 450, kBackY = 15;
};

// Runs first, before any test could empty the idle queue.
TEST_F(MainWindow, TheBrowserStartsOnlyOnceTheWindowIsUp) {
    // Date line and note are in place when the window is first shown ...
    EXPECT_EQ(MainFrm->lblDateTime->Caption().rfind(L"今天是 ", 0), 0u);
    EXPECT_FALSE(MainFrm->lblDateTime->Caption().starts_with(L"今天是 2010.6.01"));
    EXPECT_TRUE(FileExists(ProgramFolder() + L"Data\\content.ini"));
    EXPECT_EQ(::GetFocus(), MainFrm->rdtMain->Handle()) << "typing goes into the note";
    // ... the browser waits for the first empty queue.
    EXPECT_EQ(MainFrm->webLink.Window(), nullptr);
    ASSERT_TRUE(Application.HasIdleTasks());
    Application.RunIdleTasks();
    EXPECT_FALSE(Application.HasIdleTasks());
    // Where Wine has a browser it now sits in the web panel.
    if (HWND browser = MainFrm->webLink.Window()) {
        EXPECT_TRUE(::IsChild(MainFrm->pnlWeb->Handle(), browser));
    }
}

void CALLBACK DismissErrorBox(HWND, UINT, UINT_PTR id, DWORD) {
    if (HWND box = ::FindWindowW(L"#32770", L"Tabulon")) {
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        ::KillTimer(nullptr, id);
    }
}

TEST(IdleTasks, RunOnceInOrderAndTasksAddedMeanwhileWait) {
    std::string order;
    Application.WhenIdle([&] { order += 'a'; });
    Application.WhenIdle([&] {
        order += 'b';
        Application.WhenIdle([&] { order += 'c'; });
    });
    Application.WhenIdle([] { throw Exception(L"reported, and the rest still runs"); });
    Application.WhenIdle([&] { order += 'd'; });
    ::SetTimer(nullptr, 0, 100, &DismissErrorBox);
    Application.RunIdleTasks();
    EXPECT_EQ(order, "abd");
    Application.RunIdleTasks();
    EXPECT_EQ(order, "abdc");
    Application.RunIdleTasks();
    EXPECT_EQ(order, "abdc");
}

TEST_F(MainWindow, IsFramelessAndOfItsFixedSize) {
    RECT r;
    ::GetWindowRect(MainFrm->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 584);
    EXPECT_EQ(r.bottom - r.top, 382);
    const LONG style = ::GetWindowLongW(MainFrm->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    wchar_t caption[32] = {};
    ::GetWindowTextW(MainFrm->Handle(), caption, 32);
    EXPECT_STREQ(caption, L"Tabulon");
}

TEST_F(MainWindow, ControlsTakeTheSizeOfTheirPictures) {
    EXPECT_EQ(MainFrm->img_close_normal->Width(), 39);
    EXPECT_EQ(MainFrm->img_close_normal->Height(), 20);
    EXPECT_EQ(MainFrm->img_mini_normal->Width(), 28);
    EXPECT_EQ(MainFrm->imgLogo->Width(), 200);
    EXPECT_EQ(MainFrm->imgLogo->Height(), 57);
    EXPECT_EQ(MainFrm->imgAppToDesk->Width(), 84);
    EXPECT_EQ(MainFrm->imgAddToDesk->Height(), 93);
    // The background is stretched over the window, not sized to its 416 x 289 picture.
    EXPECT_EQ(MainFrm->imgBG->Width(), 582);
    EXPECT_EQ(MainFrm->imgBG->Height(), 380);
    EXPECT_EQ(MainFrm->imgBG->Picture().Width(), 416);
}

TEST_F(MainWindow, HoverPressAndReleaseInsideTheCloseButtonEndsTheProgram) {
    Send(WM_MOUSEMOVE, 0, kCloseX, kCloseY);
    EXPECT_TRUE(Shows(MainFrm->img_close_highlight));
    EXPECT_FALSE(Shows(MainFrm->img_close_normal));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kCloseX, kCloseY);
    EXPECT_TRUE(Shows(MainFrm->img_close_down));
    EXPECT_FALSE(Shows(MainFrm->img_close_highlight));
    EXPECT_EQ(::GetCapture(), MainFrm->Handle());
    Send(WM_LBUTTONUP, 0, kCloseX + 5, kCloseY + 5);
    EXPECT_TRUE(DrainQueue()) << "the click should request termination";
    EXPECT_EQ(::GetCapture(), nullptr);
    // Keys typed after the text was taken for the exit save would be lost.
    EXPECT_TRUE(::GetWindowLongW(MainFrm->rdtMain->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(MainWindow, PressOnCloseDragOffAndReleaseDoesNothing) {
    Send(WM_MOUSEMOVE, 0, kCloseX, kCloseY);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kCloseX, kCloseY);
    // While pressed, moves go to the hidden hover image, which has no handler.
    Send(WM_MOUSEMOVE, MK_LBUTTON, kBackX, kBackY);
    EXPECT_TRUE(Shows(MainFrm->img_close_down));
    Send(WM_LBUTTONUP, 0, kBackX, kBackY);
    EXPECT_FALSE(DrainQueue());
    // The pressed image stays until the pointer moves over the background.
    EXPECT_TRUE(Shows(MainFrm->img_close_down));
    Send(WM_MOUSEMOVE, 0, kCloseX, kCloseY); // over the pressed image: no handler
    EXPECT_TRUE(Shows(MainFrm->img_close_down));
    Send(WM_MOUSEMOVE, 0, kBackX, kBackY);
    EXPECT_TRUE(Shows(MainFrm->img_close_normal));
    EXPECT_FALSE(Shows(MainFrm->img_close_down));
}

TEST_F(MainWindow, RightPressShowsThePressedImageAndClicksNothing) {
    Send(WM_MOUSEMOVE, 0, kCloseX, kCloseY);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, kCloseX, kCloseY);
    EXPECT_TRUE(Shows(MainFrm->img_close_down));
    Send(WM_RBUTTONUP, 0, kCloseX, kCloseY);
    EXPECT_FALSE(DrainQueue());
    EXPECT_TRUE(Shows(MainFrm->img_close_down));
}

TEST_F(MainWindow, ThePressedControlKeepsTheCaptureWhileOtherButtonsComeAndGo) {
    Send(WM_MOUSEMOVE, 0, kCloseX, kCloseY);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, kCloseX, kCloseY);
    Send(WM_LBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, kCloseX, kCloseY);
    Send(WM_RBUTTONUP, MK_LBUTTON, kCloseX, kCloseY);
    EXPECT_EQ(::GetCapture(), MainFrm->Handle());
    Send(WM_LBUTTONUP, 0, kCloseX, kCloseY);
    EXPECT_TRUE(DrainQueue());
}

TEST_F(MainWindow, OnlyOneImageOfEachButtonIsLitAtATime) {
    Send(WM_MOUSEMOVE, 0, kCloseX, kCloseY);
    Send(WM_MOUSEMOVE, 0, kMiniX, kMiniY);
    EXPECT_TRUE(Shows(MainFrm->img_mini_highlight));
    EXPECT_TRUE(Shows(MainFrm->img_close_normal));
    EXPECT_FALSE(Shows(MainFrm->img_close_highlight));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kMiniX, kMiniY);
    EXPECT_TRUE(Shows(MainFrm->img_mini_down));
    EXPECT_FALSE(Shows(MainFrm->img_mini_normal));
    EXPECT_FALSE(Shows(MainFrm->img_mini_highlight));
    Send(WM_LBUTTONUP, 0, 0, 300);
    EXPECT_FALSE(DrainQueue());
}

TEST_F(MainWindow, MinimiseTakesTheWindowOffTheScreenAndItsTaskbarButtonBringsItBack) {
    Send(WM_MOUSEMOVE, 0, kMiniX, kMiniY);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kMiniX, kMiniY);
    Send(WM_LBUTTONUP, 0, kMiniX, kMiniY);
    EXPECT_TRUE(::IsIconic(MainFrm->Handle()));
    EXPECT_TRUE(Application.Minimized());
    // Still the taskbar window: a hidden one would lose its button.
    EXPECT_TRUE(TaskbarShows(MainFrm->Handle()));
    EXPECT_TRUE(Shows(MainFrm->img_mini_normal));
    EXPECT_FALSE(Shows(MainFrm->img_mini_down));
    // What the taskbar does when the user clicks the minimised button.
    ::SendMessageW(MainFrm->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsIconic(MainFrm->Handle()));
    EXPECT_TRUE(::IsWindowVisible(MainFrm->Handle()));
    EXPECT_FALSE(Application.Minimized());
    // The taskbar's own minimise (a click on the button of the active window).
    ::SendMessageW(MainFrm->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(Application.Minimized());
    Application.Restore();
    EXPECT_FALSE(Application.Minimized());
    RECT r;
    ::GetWindowRect(MainFrm->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 584);
    EXPECT_EQ(r.bottom - r.top, 382);
    EXPECT_FALSE(DrainQueue());
}

TEST_F(MainWindow, IsTheOnlyWindowOfTheProgramInTheTaskbar) {
    const LONG ex = ::GetWindowLongW(MainFrm->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_APPWINDOW);
    EXPECT_FALSE(ex & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(MainFrm->Handle(), GW_OWNER), nullptr);
    // The taskbar and Alt+Tab list the top-level windows that qualify.
    std::vector<HWND> listed;
    ::EnumWindows(&CollectTaskbarWindow, LPARAM(&listed));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0], MainFrm->Handle());
    // The application window exists, out of the taskbar and never shown.
    EXPECT_FALSE(::IsWindowVisible(Application.Handle()));
    EXPECT_TRUE(::GetWindowLongW(Application.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(MainWindow, OpensInsideTheWorkAreaOfItsMonitor) {
    RECT r;
    ::GetWindowRect(MainFrm->Handle(), &r);
    MONITORINFO m{};
    m.cbSize = sizeof(m);
    ASSERT_TRUE(
        ::GetMonitorInfoW(::MonitorFromWindow(MainFrm->Handle(), MONITOR_DEFAULTTONULL), &m));
    EXPECT_GE(r.left, m.rcWork.left);
    EXPECT_GE(r.top, m.rcWork.top);
    EXPECT_LE(r.right, m.rcWork.right);
    EXPECT_LE(r.bottom, m.rcWork.bottom);
}

TEST_F(MainWindow, AHoverImageSettlesWhenThePointerLeavesTheWindowFromIt) {
    Send(WM_MOUSEMOVE, 0, kCloseX, kCloseY);
    ASSERT_TRUE(Shows(MainFrm->img_close_highlight));
    Send(WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_TRUE(Shows(MainFrm->img_close_normal));
    EXPECT_FALSE(Shows(MainFrm->img_close_highlight));
    Send(WM_MOUSEMOVE, 0, kMiniX, kMiniY);
    ASSERT_TRUE(Shows(MainFrm->img_mini_highlight));
    Send(WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_TRUE(Shows(MainFrm->img_mini_normal));
    // A pressed image is not a hover image: it stays until the background.
    Send(WM_MOUSEMOVE, 0, kCloseX, kCloseY);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kCloseX, kCloseY);
    Send(WM_LBUTTONUP, 0, kBackX, kBackY);
    Send(WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_TRUE(Shows(MainFrm->img_close_down));
    EXPECT_FALSE(DrainQueue());
}

TEST_F(MainWindow, PressOnTheBackgroundReleasesTheCaptureAndPostsTheMoveCommand) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kBackX, kBackY);
    EXPECT_EQ(::GetCapture(), nullptr);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, MainFrm->Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0xF012u);
    EXPECT_EQ(msg.lParam, 0);
    Send(WM_LBUTTONUP, 0, kBackX, kBackY);
}

TEST_F(MainWindow, PressOnTheLogoStartsNoMove) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 40);
    MSG msg;
    EXPECT_FALSE(
        ::PeekMessageW(&msg, MainFrm->Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE));
    Send(WM_LBUTTONUP, 0, 50, 40);
    EXPECT_FALSE(DrainQueue());
}

TEST_F(MainWindow, TheOptionsLabelHasNoMenuUntilItIsClicked) {
    EXPECT_EQ(MainFrm->lblSet->PopupMenu(), nullptr);
    EXPECT_EQ(MainFrm->lblSet->CursorId(), IDC_HAND);
    EXPECT_EQ(MainFrm->imgAppToDesk->CursorId(), IDC_HAND);
    const auto& items = MainFrm->popSysset.Items();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0]->Caption(), L"帮助说明");
    EXPECT_EQ(items[1]->Caption(), L"意见反馈");
    EXPECT_EQ(items[2]->Caption(), L"历史版本");
    EXPECT_EQ(items[3]->Caption(), L"恢复原来的桌面");
    EXPECT_EQ(items[4]->Caption(), L"在我的桌面图片上贴便笺");
    EXPECT_TRUE(items[5]->IsSeparator());
    EXPECT_EQ(items[6]->Caption(), L"退出程序");
    // "退出程序" ends the program.
    items[6]->OnClick(*items[6]);
    EXPECT_TRUE(DrainQueue());
}

RECT openedMenu{};
int menusOpened = 0;

// Notes where the popup menu opened and closes it.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (!menu || !::IsWindowVisible(menu)) return;
    ::GetWindowRect(menu, &openedMenu);
    ++menusOpened;
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

TEST_F(MainWindow, ClickingTheOptionsLabelOpensTheSystemMenuAtItsBottomLeft) {
    const TLabel& label = *MainFrm->lblSet;
    const int x = label.Left() + 2, y = label.Top() + 2;
    menusOpened = 0;
    ::SetTimer(nullptr, 0, 50, &CloseMenu);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    Send(WM_LBUTTONUP, 0, x, y);
    ASSERT_EQ(menusOpened, 1);
    POINT corner{label.Left(), label.Top() + label.Height()};
    ::ClientToScreen(MainFrm->Handle(), &corner);
    EXPECT_EQ(openedMenu.left, corner.x);
    EXPECT_EQ(openedMenu.top, corner.y);
    EXPECT_EQ(MainFrm->lblSet->PopupMenu(), &MainFrm->popSysset);

    // From now on a right-click on the label opens the same menu at the pointer.
    ::SetTimer(nullptr, 0, 50, &CloseMenu);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, x + 3, y + 1);
    Send(WM_RBUTTONUP, 0, x + 3, y + 1);
    ASSERT_EQ(menusOpened, 2);
    POINT pointer{x + 3, y + 1};
    ::ClientToScreen(MainFrm->Handle(), &pointer);
    EXPECT_EQ(openedMenu.left, pointer.x);
    EXPECT_EQ(openedMenu.top, pointer.y);
    EXPECT_FALSE(DrainQueue());
}

bool sawErrorBox = false;

// Closes the error box (modal) as soon as it is up.
void CALLBACK CloseErrorBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(L"#32770", L"Tabulon");
    if (!box) return;
    sawErrorBox = true;
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ::KillTimer(nullptr, id);
}

TEST_F(MainWindow, AnExceptionInAHandlerIsReportedAndTheWindowGoesOn) {
    ::SetTimer(nullptr, 0, 100, &CloseErrorBox);
    auto saved = MainFrm->imgLogo->OnMouseDown;
    MainFrm->imgLogo->OnMouseDown = [](TControl&, const TMouseEvent&) {
        throw Exception(L"Handler failed");
    };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 40);
    MainFrm->imgLogo->OnMouseDown = saved;
    EXPECT_TRUE(sawErrorBox);
    Send(WM_LBUTTONUP, 0, 50, 40);
    EXPECT_TRUE(::IsWindow(MainFrm->Handle()));
}

// Handles what the editor posted to itself (an input method's characters
// come back as WM_CHAR).
void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// A key press as the keyboard gives it, with Ctrl held when `ctrl`.
void Key(HWND edit, WPARAM key, bool ctrl = false) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::SendMessageW(edit, WM_KEYDOWN, key, 1);
    ::SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
}

// The auto-save takes the editor's text only when its modification flag is
// up: every way of changing the note must raise it. Each change starts from a
// lowered flag and must change the text.
TEST_F(MainWindow, EveryChangeToTheNoteRaisesTheModificationFlag) {
    HWND edit = MainFrm->rdtMain->Handle();
    RichNoteEditor editor(edit);
    editor.SetText(u"one two three\r\n");
    EXPECT_TRUE(editor.Modified()) << "loading";
    ::SendMessageW(edit, EM_SETSEL, 0, 3);
    ::SendMessageW(edit, WM_COPY, 0, 0); // the clipboard holds "one"

    auto select = [edit](int from, int to) { ::SendMessageW(edit, EM_SETSEL, from, to); };
    TMenuItem& item = *MainFrm->pmDeskTopMonCal.Items()[0];
    TMainFrm& frm = *MainFrm;
    struct Change {
        const char* what;
        std::function<void()> run;
    };
    const Change changes[] = {
        {"typing", [&] { ::SendMessageW(edit, WM_CHAR, L'x', 0); }},
        {"Return", [&] { Key(edit, VK_RETURN); }},
        {"input method", [&] { ::SendMessageW(edit, WM_IME_CHAR, 0x4ECA, 0); }},
        {"Backspace", [&] { Key(edit, VK_BACK); }},
        {"Delete",
         [&] {
             select(0, 0);
             Key(edit, VK_DELETE);
         }},
        {"Ctrl+V", [&] { Key(edit, 'V', true); }},
        {"Ctrl+Z", [&] { Key(edit, 'Z', true); }},
        {"Ctrl+X",
         [&] {
             select(0, 2);
             Key(edit, 'X', true);
         }},
        {"粘贴", [&] { frm.N2Click(item); }},
        {"撤销", [&] { frm.CtrlZ1Click(item); }},
        {"剪切",
         [&] {
             select(0, 2);
             frm.N3Click(item);
         }},
        {"删除",
         [&] {
             select(0, 1);
             frm.N9Click(item);
         }},
        {"打V", [&] { frm.V1Click(item); }},
        {"打X", [&] { frm.X1Click(item); }},
        {"√", [&] { frm.btn3Click(*frm.btn3); }},
        {"X button", [&] { frm.btn4Click(*frm.btn4); }},
    };
    for (const Change& change : changes) {
        const std::u16string before = editor.Text();
        editor.SetModified(false);
        change.run();
        Pump();
        EXPECT_NE(editor.Text(), before) << change.what << " changed nothing";
        EXPECT_TRUE(editor.Modified()) << change.what;
    }
    // Selecting and copying change nothing and leave the flag down.
    editor.SetModified(false);
    select(0, -1);
    frm.N1Click(item);
    Pump();
    EXPECT_FALSE(editor.Modified());

    // An edit the control does not flag itself reaches the next tick.
    frm.AutoSaveNoteFile();
    select(0, -1);
    Key(edit, 'X', true);
    Pump();
    frm.AutoSaveNoteFile();
    EXPECT_EQ(ReadWholeFile(ProgramFolder() + L"Data\\content.ini"), "");
}

// What a screen reader finds: the window's accessible object knows where the
// skinned controls are and which has the focus, and its default action
// presses them.
TEST_F(MainWindow, ScreenReadersFindTheSkinnedControlsAndCanPressThem) {
    const ComPtr<IAccessible> object = ClientObject();
    BSTR name = nullptr; // the date line, read as it shows
    ASSERT_EQ(object->get_accName(Id(7), &name), S_OK);
    EXPECT_EQ(std::wstring(name), MainFrm->lblDateTime->Caption());
    ::SysFreeString(name);

    // The pin button where it shows on the screen, 488, 45, 84 x 29 in the window.
    VARIANT pin{};
    pin.vt = VT_I4;
    pin.lVal = 4;
    RECT window;
    ::GetWindowRect(MainFrm->Handle(), &window);
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(object->accLocation(&x, &y, &w, &h, pin), S_OK);
    EXPECT_EQ(x - window.left, 488);
    EXPECT_EQ(y - window.top, 45);
    EXPECT_EQ(w, 84);
    EXPECT_EQ(h, 29);
    VARIANT hit{};
    ASSERT_EQ(object->accHitTest(x + 5, y + 5, &hit), S_OK);
    EXPECT_EQ(hit.lVal, 4);

    // Focused from the keyboard, it is the focused child.
    MainFrm->skinButtons.Focus(3);
    VARIANT focus{}, state{};
    ASSERT_EQ(object->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 4);
    ASSERT_EQ(object->get_accState(pin, &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_FOCUSED);

    // Its default action pins (here: clicks the pin button).
    int pins = 0;
    auto saved = MainFrm->imgAppToDesk->OnClick;
    MainFrm->imgAppToDesk->OnClick = [&pins](TControl&) { ++pins; };
    EXPECT_EQ(object->accDoDefaultAction(pin), S_OK);
    DrainQueue();
    MainFrm->imgAppToDesk->OnClick = saved;
    EXPECT_EQ(pins, 1);

    // Tab from the last control goes back to the note.
    MainFrm->skinButtons.Focus(5);
    ::SendMessageW(MainFrm->Handle(), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_EQ(::GetFocus(), MainFrm->rdtMain->Handle());
}

// What a screen reader says of the skinned controls, in the program's words:
// name, tooltip (none read when it repeats the name), key and default action.
TEST_F(MainWindow, ScreenReadersHearTheSkinnedControlsInTheProgramsWords) {
    const ComPtr<IAccessible> object = ClientObject();
    auto said = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*), long id) {
        BSTR text = nullptr;
        (object.Get()->*ask)(Id(id), &text);
        std::wstring result = text ? text : L"";
        ::SysFreeString(text);
        return result;
    };
    const struct {
        long id;
        const wchar_t *name, *tip, *key, *action;
    } controls[] = {
        {1, L"打勾", L"打勾 √", L"", L"按下"},
        {3, L"选项", L"选项 (Alt+O)", L"Alt+O", L"打开"},
        {4, L"添加到桌面", L"把便笺贴到桌面 (Ctrl+Enter)", L"Ctrl+Enter", L"按下"},
        {6, L"关闭", L"", L"", L"按下"},
        {7, nullptr, L"", L"", L""}, // the date line: read, never pressed
    };
    for (const auto& c : controls) {
        if (c.name) {
            EXPECT_EQ(said(&IAccessible::get_accName, c.id), c.name) << c.id;
        }
        EXPECT_EQ(said(&IAccessible::get_accDescription, c.id), c.tip) << c.id;
        EXPECT_EQ(said(&IAccessible::get_accKeyboardShortcut, c.id), c.key) << c.id;
        EXPECT_EQ(said(&IAccessible::get_accDefaultAction, c.id), c.action) << c.id;
    }
}

// After the seven skinned controls come the window's child windows, the
// panels of the web page (8) and of the note (9), as full objects: listing,
// navigation and hit test name the same windows.
TEST_F(MainWindow, TheNoteAndTheWebPageFollowTheSkinnedControlsInTheTree) {
    const ComPtr<IAccessible> object = ClientObject();
    const HWND web = MainFrm->pnlLeft->Handle(), note = MainFrm->pngRight->Handle();
    long count = 0;
    ASSERT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 9);
    VARIANT listed[9]{}, to{};
    LONG got = 0;
    const auto children = Oleacc<decltype(&::AccessibleChildren)>("AccessibleChildren");
    ASSERT_EQ(children(object.Get(), 0, 9, listed, &got), S_OK);
    EXPECT_EQ(WindowOf(listed[7]), web);
    EXPECT_EQ(WindowOf(listed[8]), note);
    ASSERT_EQ(object->accNavigate(NAVDIR_NEXT, Id(7), &to), S_OK);
    EXPECT_EQ(WindowOf(to), web);
    ASSERT_EQ(object->accNavigate(NAVDIR_LASTCHILD, Id(CHILDID_SELF), &to), S_OK);
    EXPECT_EQ(WindowOf(to), note);
    RECT r;
    ::GetWindowRect(MainFrm->rdtMain->Handle(), &r);
    ASSERT_EQ(object->accHitTest(r.left + 20, r.top + 20, &to), S_OK);
    EXPECT_EQ(WindowOf(to), note);
}

// A lit or pressed caption button hides its normal picture; it stays a
// visible button for a screen reader (state, hit test) and for Tab.
TEST_F(MainWindow, ACaptionButtonStaysVisibleWhileLitOrPressed) {
    const ComPtr<IAccessible> object = ClientObject();
    POINT p{kCloseX, kCloseY};
    ::ClientToScreen(MainFrm->Handle(), &p);
    const std::pair<UINT, long> steps[] = {{WM_MOUSEMOVE, STATE_SYSTEM_HOTTRACKED},
                                           {WM_LBUTTONDOWN, STATE_SYSTEM_PRESSED}};
    for (const auto& [message, shown] : steps) {
        Send(message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, kCloseX, kCloseY);
        VARIANT state{}, hit{};
        ASSERT_EQ(object->get_accState(Id(6), &state), S_OK);
        EXPECT_EQ(state.lVal & (STATE_SYSTEM_INVISIBLE | shown), shown) << message;
        ASSERT_EQ(object->accHitTest(p.x, p.y, &hit), S_OK);
        EXPECT_EQ(hit.lVal, 6) << message;
        MainFrm->skinButtons.Focus(4);
        ::SendMessageW(MainFrm->Handle(), WM_KEYDOWN, VK_TAB, 1);
        EXPECT_EQ(MainFrm->skinButtons.Focused(), 5) << message;
    }
    Send(WM_LBUTTONUP, 0, kBackX, kBackY);
    EXPECT_FALSE(DrainQueue());
}

} // namespace

} // namespace tabulon
