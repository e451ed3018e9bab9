#pragma once
// Loading DLLs from the system folder only. Windows searches the program's
// own folder first, so a DLL of a system name left in a download folder
// beside Tabulon.exe would otherwise be loaded in place of the system's.
#include "platform/Handles.h"

namespace tabulon {

// Limits the search of every later LoadLibrary (ours, and those of the system
// components we use) to the system folder. Windows 8 and later, and Windows 7
// with KB2533623; elsewhere it takes the current folder out of the search.
// Returns true when the search is limited to the system folder.
bool RestrictDllSearchToSystem();

// Loads `name` (a bare file name such as L"msftedit.dll") from the system
// folder and nowhere else; an empty handle when it is not there.
ModuleHandle LoadSystemLibrary(const wchar_t* name);

} // namespace tabulon
