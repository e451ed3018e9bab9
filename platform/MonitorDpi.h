#pragma once
// The DPI of the session and of a monitor as the system tells it, for the
// toolkit's windows and for the desktop's measures alike. Functions of newer
// systems are looked up at run time, so the program still starts on Windows 7.
#include <windows.h>

namespace tabulon {

// The system DPI: the one DPI of the whole session on older systems, and
// the primary monitor's at logon on Windows 10 and later. 96 when unknown.
int SystemDpi();

// The effective DPI of a monitor where the system tells it (Windows 8.1 and
// later, shcore); 0 when it cannot.
int DpiOfMonitor(HMONITOR monitor);

} // namespace tabulon
