#pragma once
// One program per program folder: two editors on one note would both rewrite
// it every 10 s and the last writer would win. A second start hands over to
// the first (whose window comes back, restored and in front) and ends.
#include <windows.h>

#include <string>

#include "platform/Handles.h"

namespace tabulon {

// The window class of the application's own (hidden) window, by which a
// second start finds the first.
inline constexpr wchar_t kAppWindowClass[] = L"TabulonApplication";

class SingleInstance {
  public:
    // Takes the named mutex of `programFolder`'s instance.
    explicit SingleInstance(const std::wstring& programFolder);

    // True unless another process of the same folder holds the mutex.
    bool First() const { return first_; }
    // Asks the first instance to show its window; waits a while for that
    // window to exist, as the first may still be starting. False when no
    // instance answered.
    bool WakeFirst() const;

    // The message the first instance's application window receives, with
    // the folder's key as wParam; it answers kAwake when the key is its own.
    static UINT WakeMessage();
    static constexpr LRESULT kAwake = 0x54616221;
    // A number that names the folder (case-insensitive, as the system names files).
    static unsigned long FolderKey(const std::wstring& programFolder);

  private:
    unsigned long key_;
    KernelObject mutex_;
    bool first_ = true;
};

} // namespace tabulon
