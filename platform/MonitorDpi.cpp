#include "platform/MonitorDpi.h"

#include "platform/Handles.h"
#include "platform/SystemLibrary.h"

namespace tabulon {

int SystemDpi() {
    // A per-monitor aware program still gets the system DPI from the screen.
    WindowDC screen(nullptr);
    const int dpi = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

int DpiOfMonitor(HMONITOR monitor) {
    // MDT_EFFECTIVE_DPI; the library is loaded once and kept for the run.
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const ModuleHandle shcore = LoadSystemLibrary(L"shcore.dll");
    static const auto getDpiForMonitor =
        LibraryFunction<GetDpiForMonitorFn>(shcore.Get(), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (!getDpiForMonitor || !monitor || FAILED(getDpiForMonitor(monitor, 0, &x, &y))) return 0;
    return static_cast<int>(y);
}

} // namespace tabulon
