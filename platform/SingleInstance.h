#pragma once
// One program per note: two editors on one note would both rewrite it every
// 10 s and the last writer would win. The guard is a lock file in the work
// folder's Data folder, held open without sharing while the program runs, so
// it also holds against a copy started elevated, from another program folder
// that shares the work folder, or in another user's session on a shared
// folder. A second start hands over to the first (whose window comes back,
// restored and in front) and ends.
#include <windows.h>

#include <string>

#include "platform/Handles.h"
#include "platform/ProgramIds.h"

namespace tabulon {

// The window class of the application's own (hidden) window, by which a
// second start finds the first.
inline constexpr wchar_t kAppWindowClass[] = L"TabulonApplication";

class SingleInstance {
  public:
    // The lock file under the work folder.
    static constexpr const wchar_t* kLockName = L"Data\\content.lock";

    // Takes the lock of the note in `workFolder` (ending in a backslash).
    explicit SingleInstance(const std::wstring& workFolder);

    // True unless another program holds the lock. Where no lock file can be
    // made (no Data folder, a folder that takes no files) the program runs
    // unguarded: a missing guard is better than a program that will not start.
    bool First() const { return first_; }
    // Tries the lock again: the first program may have ended meanwhile.
    bool TakeOver();
    // Asks the first instance to show its window, waiting a little for an
    // answer; `own`, this program's application window, is skipped. False
    // when none answered (it is elevated, in another session, or ended).
    bool WakeFirst(HWND own = nullptr) const;

    // kWakeMessageName's number: the first instance's application window
    // receives it with the folder's key and answers kWakeAnswer.
    static UINT WakeMessage();
    // A number that names the folder (case-insensitive, as the system names files).
    static unsigned long FolderKey(const std::wstring& workFolder);

  private:
    std::wstring lockPath_;
    unsigned long key_;
    FileHandle lock_;
    bool first_ = true;
};

} // namespace tabulon
