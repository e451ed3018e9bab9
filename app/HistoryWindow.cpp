#include "app/HistoryWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "app/NoteText.h"
#include "base/DisplayScale.h"
#include "base/LongPath.h"
#include "base/Texts.h"
#include "platform/FileIO.h"
#include "platform/ProgramIds.h"
#include "ui/Application.h"
#include "ui/DisplayDpi.h"

namespace tabulon {

namespace {

constexpr const wchar_t* kClassName = L"TabulonHistory";
constexpr int kClientWidth = 560, kClientHeight = 400; // at 96 DPI
constexpr int kFirstLineShown = 80;                    // characters

// "2026-12-10 03:53:12" from content.20261210-035312[-n].ini.
std::wstring TimeOfName(const std::wstring& path) {
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    const std::wstring s = name.substr(8, 15);
    return s.substr(0, 4) + L"-" + s.substr(4, 2) + L"-" + s.substr(6, 2) + L" " + s.substr(9, 2) +
           L":" + s.substr(11, 2) + L":" + s.substr(13, 2);
}

std::wstring SizeText(uint64_t bytes) {
    if (bytes < 1024) return ByteCountText(unsigned(bytes));
    wchar_t text[32];
    if (bytes < 1024 * 1024)
        std::swprintf(text, 32, L"%.1f KB", double(bytes) / 1024);
    else
        std::swprintf(text, 32, L"%.1f MB", double(bytes) / (1024 * 1024));
    return text;
}

// The version's text, or nothing when it cannot be read as a note.
std::wstring VersionText(const std::wstring& path, bool& readable) {
    try {
        const std::u16string text = NoteTextFromFile(ReadWholeFile(path));
        readable = true;
        return std::wstring(text.begin(), text.end());
    } catch (const Exception&) {
        readable = false;
        return L"";
    }
}

std::wstring FirstLine(const std::wstring& text) {
    std::wstring line = text.substr(0, text.find_first_of(L"\r\n"));
    if (line.size() > kFirstLineShown) line = line.substr(0, kFirstLineShown) + L"…";
    return line;
}

void RegisterOnce() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
    registered = true;
}

} // namespace

void HistoryWindow::Show(NoteHistory& history) {
    history_ = &history;
    if (!wnd_) {
        RegisterOnce();
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        wnd_.Reset(::CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName,
                                     kHistoryCaption, style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                                     owner_, nullptr, ::GetModuleHandleW(nullptr), nullptr));
        if (!wnd_) return;
        ::SetWindowLongPtrW(wnd_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetWindowLongPtrW(wnd_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc));
        CreateControls();
        // Centred over the main window, on its monitor and at its scale.
        RECT over{};
        ::GetWindowRect(owner_, &over);
        const int dpi = WindowDpi(owner_);
        RECT frame{0, 0, ScaleLength(kClientWidth, dpi), ScaleLength(kClientHeight, dpi)};
        ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
        const int w = frame.right - frame.left, h = frame.bottom - frame.top;
        ::SetWindowPos(wnd_.Get(), nullptr, (over.left + over.right - w) / 2,
                       (over.top + over.bottom - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        Layout(WindowDpi(wnd_.Get()));
    }
    Fill();
    ::ShowWindow(wnd_.Get(), SW_SHOWNORMAL);
    ::SetForegroundWindow(wnd_.Get());
    ::SetFocus(versions_.empty() ? closeButton_ : list_);
}

void HistoryWindow::CreateControls() {
    HWND wnd = wnd_.Get();
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD ex = 0) {
        return ::CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, wnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                 nullptr);
    };
    // Each label comes just before its control: screen readers take it as
    // the control's name, and its underlined letter moves there.
    label_ = make(WC_STATICW, kHistoryListLabel, SS_LEFT, -1);
    list_ = make(WC_LISTVIEWW, L"",
                 WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                 kHistoryListId, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    const wchar_t* headers[] = {kHistoryTimeColumn, kHistorySizeColumn, kHistoryFirstLineColumn};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(headers[i]);
        column.iSubItem = i;
        ListView_InsertColumn(list_, i, &column);
    }
    textLabel_ = make(WC_STATICW, kHistoryTextLabel, SS_LEFT, -1);
    text_ =
        make(WC_EDITW, L"", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
             kHistoryTextId, WS_EX_CLIENTEDGE);
    ::SendMessageW(text_, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
    restoreButton_ =
        make(WC_BUTTONW, kHistoryRestoreButton, WS_TABSTOP | BS_PUSHBUTTON, kHistoryRestoreId);
    folderButton_ =
        make(WC_BUTTONW, kHistoryFolderButton, WS_TABSTOP | BS_PUSHBUTTON, kHistoryFolderId);
    closeButton_ = make(WC_BUTTONW, kHistoryCloseButton, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
}

void HistoryWindow::Layout(int dpi) {
    dpi_ = dpi;
    auto s = [dpi](int v) { return ScaleLength(v, dpi); };
    font_.Reset(::CreateFontW(-s(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                              DEFAULT_PITCH, kSimSunFontName));
    struct Place {
        HWND control;
        int x, y, w, h;
    } places[] = {
        {label_, 10, 10, 540, 16},          {list_, 10, 28, 540, 150},
        {textLabel_, 10, 186, 540, 16},     {text_, 10, 204, 540, 150},
        {restoreButton_, 10, 364, 120, 26}, {folderButton_, 140, 364, 120, 26},
        {closeButton_, 450, 364, 100, 26},
    };
    for (const Place& p : places) {
        ::SendMessageW(p.control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        ::MoveWindow(p.control, s(p.x), s(p.y), s(p.w), s(p.h), TRUE);
    }
    const int widths[] = {150, 80, 300};
    for (int i = 0; i < 3; ++i)
        ListView_SetColumnWidth(list_, i, s(widths[i]));
    ::InvalidateRect(wnd_.Get(), nullptr, TRUE);
}

void HistoryWindow::Fill() {
    versions_ = history_->List();
    ListView_DeleteAllItems(list_);
    for (size_t i = 0; i < versions_.size(); ++i) {
        bool readable = false;
        const std::wstring text = VersionText(versions_[i].path, readable);
        std::wstring cells[] = {TimeOfName(versions_[i].path), SizeText(versions_[i].size),
                                readable ? FirstLine(text) : kHistoryUnreadableCell};
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = int(i);
        item.pszText = cells[0].data();
        ListView_InsertItem(list_, &item);
        ListView_SetItemText(list_, int(i), 1, cells[1].data());
        ListView_SetItemText(list_, int(i), 2, cells[2].data());
    }
    ::SetWindowTextW(label_, versions_.empty() ? kHistoryEmptyLabel : kHistoryListLabel);
    ::EnableWindow(restoreButton_, !versions_.empty());
    if (!versions_.empty()) {
        ListView_SetItemState(list_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    ShowSelected();
}

int HistoryWindow::Selected() const {
    return ListView_GetNextItem(list_, -1, LVNI_SELECTED);
}

void HistoryWindow::ShowSelected() {
    const int i = Selected();
    bool readable = false;
    const std::wstring text =
        i >= 0 && size_t(i) < versions_.size() ? VersionText(versions_[i].path, readable) : L"";
    ::SetWindowTextW(text_, text.c_str());
    ::EnableWindow(restoreButton_, readable);
}

void HistoryWindow::RestoreSelected() {
    const int i = Selected();
    if (i < 0 || size_t(i) >= versions_.size()) return;
    Guarded([&] {
        restore_(versions_[i].path);
        Fill(); // the text it replaced is a version now
    });
}

bool HistoryWindow::TakeKey(MSG& msg) {
    if (!wnd_ || !::IsWindowVisible(wnd_.Get())) return false;
    if (msg.hwnd != wnd_.Get() && !::IsChild(wnd_.Get(), msg.hwnd)) return false;
    return ::IsDialogMessageW(wnd_.Get(), &msg) != FALSE;
}

LRESULT CALLBACK HistoryWindow::StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<HistoryWindow*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(wnd, msg, wp, lp);
    LRESULT result = 0;
    Guarded([&] { result = self->WndProc(msg, wp, lp); });
    return result;
}

LRESULT HistoryWindow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    HWND wnd = wnd_.Get();
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kHistoryRestoreId:
            RestoreSelected();
            return 0;
        case kHistoryFolderId:
            // The folder may not be there yet: it is made with the first version.
            ::CreateDirectoryW(ExtendedLengthPath(FullFilePath(history_->Folder())).c_str(),
                               nullptr);
            ::ShellExecuteW(wnd, L"open", history_->Folder().c_str(), nullptr, nullptr,
                            SW_SHOWNORMAL);
            return 0;
        case IDCANCEL:
            ::ShowWindow(wnd, SW_HIDE);
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->hwndFrom == list_ && hdr->code == LVN_ITEMCHANGED) {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lp);
            if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED))
                ShowSelected();
        }
        if (hdr->hwndFrom == list_ && (hdr->code == NM_DBLCLK || hdr->code == NM_RETURN))
            RestoreSelected();
        break;
    }
    case WM_CLOSE:
        ::ShowWindow(wnd, SW_HIDE);
        return 0;
    case kWmDpiChanged: {
        // Moved to a monitor of another scale: new fonts and places, drawn sharp.
        const RECT* at = reinterpret_cast<const RECT*>(lp);
        ::SetWindowPos(wnd, nullptr, at->left, at->top, at->right - at->left, at->bottom - at->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        Layout(HIWORD(wp));
        return 0;
    }
    }
    return ::DefWindowProcW(wnd, msg, wp, lp);
}

} // namespace tabulon
