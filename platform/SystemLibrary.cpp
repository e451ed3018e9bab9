#include "platform/SystemLibrary.h"

#include <string>

namespace tabulon {

namespace {

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
#endif

// The system folder followed by `name`, for systems whose loader does not
// know LOAD_LIBRARY_SEARCH_SYSTEM32.
std::wstring InSystemFolder(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    UINT n = ::GetSystemDirectoryW(path.data(), UINT(path.size()));
    if (n >= path.size()) {
        path.resize(n);
        n = ::GetSystemDirectoryW(path.data(), UINT(path.size()));
    }
    if (n == 0 || n >= path.size()) return {};
    path.resize(n);
    if (path.back() != L'\\') path += L'\\';
    return path + name;
}

} // namespace

bool RestrictDllSearchToSystem() {
    // Looked up at run time: Windows 7 without KB2533623 lacks the function.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = LibraryFunction<SetDefaultDllDirectoriesFn>(
        ::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
    // At least the current folder (often the download folder too) goes.
    ::SetDllDirectoryW(L"");
    return false;
}

ModuleHandle LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module && ::GetLastError() == ERROR_INVALID_PARAMETER) {
        // An older loader refuses the flag: name the file by its full path;
        // its own dependencies are then looked for in the system folder first.
        const std::wstring path = InSystemFolder(name);
        if (!path.empty())
            module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return ModuleHandle(module);
}

} // namespace tabulon
