#include "platform/SingleInstance.h"

#include <cwctype>

#include "base/LongPath.h"
#include "platform/FileIO.h"

namespace tabulon {

namespace {

struct Search {
    unsigned long key;
    HWND own;
    bool woken = false;
};

BOOL CALLBACK WakeIfOurs(HWND wnd, LPARAM lp) {
    auto& search = *reinterpret_cast<Search*>(lp);
    wchar_t name[64] = {};
    ::GetClassNameW(wnd, name, 64);
    if (wnd == search.own || std::wstring_view(name) != kAppWindowClass) return TRUE;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    // We were started by the user and may pass the foreground on.
    ::AllowSetForegroundWindow(pid);
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(wnd, SingleInstance::WakeMessage(), search.key, 0, SMTO_ABORTIFHUNG,
                              5000, &answer) &&
        LRESULT(answer) == kWakeAnswer) {
        search.woken = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

unsigned long SingleInstance::FolderKey(const std::wstring& workFolder) {
    // FNV-1a over the upper-cased path.
    unsigned long hash = 2166136261u;
    for (wchar_t c : workFolder) {
        const unsigned long u = unsigned(std::towupper(c));
        hash = ((hash ^ (u & 0xFF)) * 16777619u) & 0xFFFFFFFFu;
        hash = ((hash ^ (u >> 8)) * 16777619u) & 0xFFFFFFFFu;
    }
    return hash;
}

UINT SingleInstance::WakeMessage() {
    static const UINT message = ::RegisterWindowMessageW(kWakeMessageName);
    return message;
}

SingleInstance::SingleInstance(const std::wstring& workFolder)
    : lockPath_(ExtendedLengthPath(FullFilePath(workFolder + kLockName))),
      key_(FolderKey(workFolder)) {
    TakeOver();
}

bool SingleInstance::TakeOver() {
    if (lock_.Valid()) return true;
    // No sharing at all: every other open fails while we hold it. The file
    // goes when the handle closes, however the program ends.
    HANDLE file =
        ::CreateFileW(lockPath_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    const DWORD code = ::GetLastError();
    lock_ = FileHandle(file);
    if (lock_.Valid()) return first_ = true;
    // Refused while the file is there: held by another program, or on its
    // way out as that program ends. Refused with no file: the folder takes
    // no files, and there is nothing to guard against.
    first_ = !(code == ERROR_SHARING_VIOLATION ||
               (code == ERROR_ACCESS_DENIED &&
                ::GetFileAttributesW(lockPath_.c_str()) != INVALID_FILE_ATTRIBUTES));
    return first_;
}

bool SingleInstance::WakeFirst(HWND own) const {
    for (int tries = 0; tries < 30; ++tries) {
        Search search{key_, own};
        ::EnumWindows(&WakeIfOurs, LPARAM(&search));
        if (search.woken) return true;
        ::Sleep(100); // the first instance is busy
    }
    return false;
}

} // namespace tabulon
