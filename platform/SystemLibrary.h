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

// The function `name` of `module` as an `Fn`; null when the module or the
// function is missing. Functions of newer Windows versions are taken this
// way, so that the program still starts on Windows 7.
template <class Fn> Fn LibraryFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

} // namespace tabulon
