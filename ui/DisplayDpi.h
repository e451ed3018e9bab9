#pragma once
// The DPI a window is drawn at. The program declares per-monitor awareness
// in its manifest; Windows 10 (1607 and later) then reports each monitor's
// own DPI. Older systems give one DPI for the whole session, the system DPI.
#include "platform/MonitorDpi.h" // SystemDpi, DpiOfMonitor

#include <windows.h>

namespace tabulon {

// The window's DPI: GetDpiForWindow where the system has it (looked up at
// run time, so that the program still starts on Windows 7), else the screen's
// LOGPIXELSY. 96 when neither answers.
int WindowDpi(HWND wnd);

// Sent to a per-monitor aware top-level window whose DPI changes; absent
// from the headers when building for Windows 7.
inline constexpr UINT kWmDpiChanged = 0x02E0;
// Sent just before it (Windows 10 1703 and later) to ask the window's new size.
inline constexpr UINT kWmGetDpiScaledSize = 0x02E4;

} // namespace tabulon
