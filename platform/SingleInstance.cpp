#include "platform/SingleInstance.h"

#include <cwctype>

namespace tabulon {

namespace {

struct Search {
    unsigned long key;
    bool woken = false;
};

BOOL CALLBACK WakeIfOurs(HWND wnd, LPARAM lp) {
    auto& search = *reinterpret_cast<Search*>(lp);
    wchar_t name[64] = {};
    ::GetClassNameW(wnd, name, 64);
    if (std::wstring_view(name) != kAppWindowClass) return TRUE;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    // We were started by the user and may pass the foreground on.
    ::AllowSetForegroundWindow(pid);
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(wnd, SingleInstance::WakeMessage(), search.key, 0, SMTO_ABORTIFHUNG,
                              5000, &answer) &&
        LRESULT(answer) == SingleInstance::kAwake) {
        search.woken = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

unsigned long SingleInstance::FolderKey(const std::wstring& programFolder) {
    // FNV-1a over the upper-cased path.
    unsigned long hash = 2166136261u;
    for (wchar_t c : programFolder) {
        const unsigned long u = unsigned(std::towupper(c));
        hash = ((hash ^ (u & 0xFF)) * 16777619u) & 0xFFFFFFFFu;
        hash = ((hash ^ (u >> 8)) * 16777619u) & 0xFFFFFFFFu;
    }
    return hash;
}

UINT SingleInstance::WakeMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Tabulon.ShowFirstInstance");
    return message;
}

SingleInstance::SingleInstance(const std::wstring& programFolder) : key_(FolderKey(programFolder)) {
    wchar_t name[64];
    swprintf(name, 64, L"Local\\Tabulon-%08lX", key_);
    mutex_.Reset(::CreateMutexW(nullptr, FALSE, name));
    // Without a mutex (out of resources) we run: a missing guard is better
    // than a program that will not start.
    first_ = !(mutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS);
}

bool SingleInstance::WakeFirst() const {
    for (int tries = 0; tries < 100; ++tries) {
        Search search{key_};
        ::EnumWindows(&WakeIfOurs, LPARAM(&search));
        if (search.woken) return true;
        ::Sleep(100); // the first instance is still building its windows
    }
    return false;
}

} // namespace tabulon
