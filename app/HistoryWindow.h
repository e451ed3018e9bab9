#pragma once
// The window of the note's history: the versions, newest first (date and
// time, size, first line), the chosen one's text read-only, and the buttons
// "恢复此版本" and "打开文件夹". Plain system controls, so that the keyboard
// and screen readers reach every part; laid out afresh for each DPI.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/NoteHistory.h"
#include "platform/Handles.h"

namespace tabulon {

class HistoryWindow {
  public:
    // `restore` puts the version at the given path in the editor; it throws
    // what it cannot do, which the window reports.
    using Restore = std::function<void(const std::wstring& versionPath)>;
    HistoryWindow(HWND owner, Restore restore) : owner_(owner), restore_(std::move(restore)) {}
    HistoryWindow(const HistoryWindow&) = delete;
    HistoryWindow& operator=(const HistoryWindow&) = delete;

    // Opens the window over its owner (or brings it to the front) with the
    // versions of `history` as they are now.
    void Show(NoteHistory& history);
    // The keyboard of a dialog: Tab, arrows, Enter, Esc and the underlined
    // letters. True when `msg` was for the window and is done.
    bool TakeKey(MSG& msg);
    HWND Handle() const { return wnd_.Get(); }

  private:
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    void CreateControls();
    void Layout(int dpi);
    void Fill();
    void ShowSelected();
    void RestoreSelected();
    int Selected() const;

    HWND owner_;
    Restore restore_;
    NoteHistory* history_ = nullptr;
    std::vector<NoteHistory::Version> versions_;
    WindowHandle wnd_;
    HWND label_ = nullptr, list_ = nullptr, textLabel_ = nullptr, text_ = nullptr;
    HWND restoreButton_ = nullptr, folderButton_ = nullptr, closeButton_ = nullptr;
    GdiFont font_;
    int dpi_ = 96;
};

} // namespace tabulon
