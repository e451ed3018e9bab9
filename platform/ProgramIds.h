#pragma once
// The program's own numbers on the message queue, in one list so that no two
// meet: the private window messages, the command ids of its controls and its
// timer ids. Everything else a window receives is the system's.
#include <windows.h>

namespace tabulon {

// Private window messages, counted from WM_APP (the range no system control
// uses, unlike WM_USER's).
//
// Posted by the main window to itself: the screen changed, compose the
// pinned note for it once the broadcast that told us has returned.
inline constexpr UINT kRecomposeMessage = WM_APP + 20;
// Posted to a form by its skinned controls (TSkinButtons::PostPress): press
// the item in wParam.
inline constexpr UINT kSkinPressMessage = WM_APP + 33;

// Sent by a second start to the first one's application window, with the
// work folder's key as wParam; registered by this name (the message crosses
// programs, so WM_APP will not do). The first answers kWakeAnswer when the
// key is its own.
inline constexpr wchar_t kWakeMessageName[] = L"Tabulon.ShowFirstInstance";
inline constexpr LRESULT kWakeAnswer = 0x54616221;

// Command ids of the history window's controls (WM_COMMAND).
enum : int {
    kHistoryListId = 101,
    kHistoryTextId = 102,
    kHistoryRestoreId = 103,
    kHistoryFolderId = 104,
};

// Timer ids (WM_TIMER), per window.
//
// The main window's auto-save of the note.
inline constexpr UINT_PTR kAutoSaveTimerId = 100;

} // namespace tabulon
