// winprobe: what the UI tests cannot see through X, asked of the running
// Tabulon from a second Windows program in the same Wine session.
//   winprobe taskbar   the program's top-level windows and which the taskbar lists
//   winprobe editor    first visible line, caret line and line count of the note
//   winprobe text      the note editor's text (UTF-8)
//   winprobe clipboard the text on Windows' clipboard (UTF-8), which Wine takes
//                      over from the X selection on its own time
//   winprobe foreground the class of the foreground window (also without a main window)
//   winprobe iconic    1 when the main window is minimised, else 0
//   winprobe menu      1 when a popup menu shows, else 0
//   winprobe restore   what the taskbar does on a click on the minimised button
//   winprobe monitors  the monitors' rectangles as Windows sees them
//   winprobe list      every top-level window (for a failed check's log)
//   winprobe box       the program's message box: "owner=main" (or "owner=other"),
//                      then its text (UTF-8); status 1 when none is open
//   winprobe hold FILE SIGNAL MS  holds FILE open, sharing nothing, until the
//                      file SIGNAL is written (it prints "held" first), then MS ms
//                      more: the brief hold of a virus scanner or indexer
// Exit status 2 when there is no main window.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

bool TaskbarShows(HWND wnd) {
    const LONG ex = GetWindowLongW(wnd, GWL_EXSTYLE);
    if (!IsWindowVisible(wnd) || (ex & WS_EX_TOOLWINDOW)) return false;
    return (ex & WS_EX_APPWINDOW) || GetWindow(wnd, GW_OWNER) == nullptr;
}

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(&CollectWindow, LPARAM(&all));
    return all;
}

// The program's main window: its only form with a caption (the hidden forms
// have none; the application window is of another class). Found by name and
// class, not size, so that it is found minimised too.
HWND MainWindow() {
    for (HWND wnd : TopLevelWindows()) {
        wchar_t title[32] = {}, cls[64] = {};
        GetWindowTextW(wnd, title, 32);
        GetClassNameW(wnd, cls, 64);
        if (wcscmp(title, L"Tabulon") == 0 && wcscmp(cls, L"TabulonWindow") == 0) return wnd;
    }
    return nullptr;
}

BOOL CALLBACK FindRichEdit(HWND wnd, LPARAM out) {
    wchar_t cls[64] = {};
    GetClassNameW(wnd, cls, 64);
    if (_wcsicmp(cls, L"RICHEDIT50W") == 0 || _wcsicmp(cls, L"RichEdit20W") == 0) {
        *reinterpret_cast<HWND*>(out) = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND NoteEditor(HWND main) {
    HWND found = nullptr;
    EnumChildWindows(main, &FindRichEdit, LPARAM(&found));
    return found;
}

int Taskbar(HWND main) {
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    int listed = 0;
    bool mainListed = false;
    for (HWND wnd : TopLevelWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (owner != pid) continue;
        RECT r;
        GetWindowRect(wnd, &r);
        const LONG ex = GetWindowLongW(wnd, GWL_EXSTYLE);
        const bool shows = TaskbarShows(wnd);
        std::printf("window %ldx%ld visible=%d owned=%d appwindow=%d toolwindow=%d taskbar=%d%s\n",
                    r.right - r.left, r.bottom - r.top, IsWindowVisible(wnd) ? 1 : 0,
                    GetWindow(wnd, GW_OWNER) ? 1 : 0, (ex & WS_EX_APPWINDOW) ? 1 : 0,
                    (ex & WS_EX_TOOLWINDOW) ? 1 : 0, shows ? 1 : 0, wnd == main ? " main" : "");
        listed += shows;
        mainListed = mainListed || (shows && wnd == main);
    }
    std::printf("listed=%d main-listed=%d\n", listed, mainListed ? 1 : 0);
    return 0;
}

void PrintUtf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string bytes(size_t(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), n, nullptr,
                            nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
}

int EditorText(HWND main) {
    HWND edit = NoteEditor(main);
    if (!edit) return 2;
    const LRESULT length = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(SendMessageW(edit, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()))));
    // The control ends its paragraphs with a bare CR: one line each here.
    for (wchar_t& c : text)
        if (c == L'\r') c = L'\n';
    PrintUtf8(text);
    return 0;
}

int ClipboardText() {
    if (!OpenClipboard(nullptr)) return 1;
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    PrintUtf8(text);
    return 0;
}

int Editor(HWND main) {
    HWND edit = NoteEditor(main);
    if (!edit) return 2;
    std::printf("first=%d caret=%d lines=%d\n",
                int(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0)),
                int(SendMessageW(edit, EM_LINEFROMCHAR, WPARAM(-1), 0)),
                int(SendMessageW(edit, EM_GETLINECOUNT, 0, 0)));
    return 0;
}

BOOL CALLBACK PrintMonitor(HMONITOR, HDC, LPRECT r, LPARAM) {
    std::printf("monitor %ld %ld %ld %ld\n", r->left, r->top, r->right, r->bottom);
    return TRUE;
}

int Monitors() {
    EnumDisplayMonitors(nullptr, nullptr, &PrintMonitor, 0);
    return 0;
}

FILETIME WrittenAt(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

int Hold(const wchar_t* file, const wchar_t* signal, int ms) {
    const std::wstring held = std::wstring(L"\\\\?\\") + file,
                       watched = std::wstring(L"\\\\?\\") + signal;
    HANDLE h = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::printf("cannot hold: error %lu\n", GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    const FILETIME before = WrittenAt(watched);
    for (int i = 0; i < 12000; ++i) {
        const FILETIME now = WrittenAt(watched);
        if (CompareFileTime(&before, &now) != 0) break;
        Sleep(5);
    }
    Sleep(DWORD(ms));
    CloseHandle(h);
    return 0;
}

BOOL CALLBACK AddStaticText(HWND wnd, LPARAM out) {
    wchar_t cls[16] = {}, text[1024] = {};
    GetClassNameW(wnd, cls, 16);
    if (_wcsicmp(cls, L"Static") == 0 && GetWindowTextW(wnd, text, 1024) > 0)
        *reinterpret_cast<std::wstring*>(out) += text;
    return TRUE;
}

int Box(HWND main) {
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    for (HWND wnd : TopLevelWindows()) {
        wchar_t cls[16] = {};
        GetClassNameW(wnd, cls, 16);
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (owner != pid || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(wnd)) continue;
        std::printf("owner=%s\n", GetWindow(wnd, GW_OWNER) == main ? "main" : "other");
        std::wstring text;
        EnumChildWindows(wnd, &AddStaticText, LPARAM(&text));
        for (wchar_t& c : text)
            if (c == L'\r') c = L' ';
        PrintUtf8(text);
        return 0;
    }
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 1;
    const wchar_t* what = argv[1];
    if (wcscmp(what, L"monitors") == 0) return Monitors();
    if (wcscmp(what, L"hold") == 0 && argc == 5) return Hold(argv[2], argv[3], _wtoi(argv[4]));
    if (wcscmp(what, L"clipboard") == 0) return ClipboardText();
    if (wcscmp(what, L"foreground") == 0) {
        wchar_t cls[64] = L"-";
        if (HWND wnd = GetForegroundWindow()) GetClassNameW(wnd, cls, 64);
        std::printf("%ls\n", cls);
        return 0;
    }
    if (wcscmp(what, L"list") == 0) {
        for (HWND wnd : TopLevelWindows()) {
            wchar_t title[64] = {}, cls[64] = {};
            GetWindowTextW(wnd, title, 64);
            GetClassNameW(wnd, cls, 64);
            WINDOWPLACEMENT place{};
            place.length = sizeof(place);
            GetWindowPlacement(wnd, &place);
            const RECT& r = place.rcNormalPosition;
            std::printf("%ls %ls iconic=%d normal=%ldx%ld\n", cls, title, IsIconic(wnd) ? 1 : 0,
                        r.right - r.left, r.bottom - r.top);
        }
        return 0;
    }
    if (wcscmp(what, L"menu") == 0) {
        // A popup menu shows: a visible window of the system's menu class.
        int shown = 0;
        for (HWND wnd : TopLevelWindows()) {
            wchar_t cls[16] = {};
            GetClassNameW(wnd, cls, 16);
            shown |= wcscmp(cls, L"#32768") == 0 && IsWindowVisible(wnd);
        }
        std::printf("%d\n", shown);
        return 0;
    }
    HWND main = MainWindow();
    if (!main) return 2;
    if (wcscmp(what, L"taskbar") == 0) return Taskbar(main);
    if (wcscmp(what, L"editor") == 0) return Editor(main);
    if (wcscmp(what, L"text") == 0) return EditorText(main);
    if (wcscmp(what, L"box") == 0) return Box(main);
    if (wcscmp(what, L"iconic") == 0) {
        std::printf("%d\n", IsIconic(main) ? 1 : 0);
        return 0;
    }
    if (wcscmp(what, L"focus") == 0) {
        // The window of the program's thread that has the keyboard focus.
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        wchar_t cls[64] = L"-";
        if (GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && info.hwndFocus)
            GetClassNameW(info.hwndFocus, cls, 64);
        std::printf("%ls\n", cls);
        return 0;
    }
    if (wcscmp(what, L"restore") == 0) {
        SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
        return 0;
    }
    return 1;
}
