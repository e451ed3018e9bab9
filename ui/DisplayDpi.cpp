#include "ui/DisplayDpi.h"

#include "platform/Handles.h"
#include "platform/SystemLibrary.h"

namespace tabulon {

int WindowDpi(HWND wnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        LibraryFunction<GetDpiForWindowFn>(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    if (getDpiForWindow && wnd) {
        const UINT dpi = getDpiForWindow(wnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

} // namespace tabulon
