#include "desktop/ScreenMetrics.h"

#include "platform/Handles.h"
#include "platform/MonitorDpi.h"
#include "platform/SystemLibrary.h"

#include <windows.h>

#include <cmath>

namespace tabulon {

namespace {

// DPI awareness contexts are handles with fixed values; the names exist only
// in newer headers, and the functions only on Windows 10 1607 and later, so
// both are looked up at run time and Tabulon still starts on Windows 7.
using DpiContext = HANDLE;
const DpiContext kPerMonitorAwareV2 = reinterpret_cast<DpiContext>(-4);
const DpiContext kPerMonitorAware = reinterpret_cast<DpiContext>(-3);
using SetThreadDpiAwarenessContextFn = DpiContext(WINAPI*)(DpiContext);

// Switches this thread to per-monitor awareness for the owner's lifetime.
class PerMonitorAwareness {
  public:
    PerMonitorAwareness() {
        set_ = LibraryFunction<SetThreadDpiAwarenessContextFn>(::GetModuleHandleW(L"user32.dll"),
                                                               "SetThreadDpiAwarenessContext");
        if (!set_) return;
        previous_ = set_(kPerMonitorAwareV2);
        if (!previous_) previous_ = set_(kPerMonitorAware);
    }
    ~PerMonitorAwareness() {
        if (previous_) set_(previous_);
    }
    PerMonitorAwareness(const PerMonitorAwareness&) = delete;
    PerMonitorAwareness& operator=(const PerMonitorAwareness&) = delete;
    bool Active() const { return previous_ != nullptr; }

  private:
    SetThreadDpiAwarenessContextFn set_ = nullptr;
    DpiContext previous_ = nullptr;
};

// The monitor's effective DPI as an aware thread sees it, else the system's.
int MonitorDpi(HMONITOR monitor) {
    const int dpi = DpiOfMonitor(monitor);
    return dpi > 0 ? dpi : SystemDpi();
}

ScreenRect Relative(const RECT& r, const RECT& origin) {
    return ScreenRect{r.left - origin.left, r.top - origin.top, r.right - origin.left,
                      r.bottom - origin.top};
}

} // namespace

Screen MeasurePrimaryScreen() {
    PerMonitorAwareness aware;
    const HMONITOR monitor = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) {
        info.rcMonitor =
            RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    }
    Screen screen;
    screen.width = info.rcMonitor.right - info.rcMonitor.left;
    screen.height = info.rcMonitor.bottom - info.rcMonitor.top;
    screen.workArea = Relative(info.rcWork, info.rcMonitor);
    if (aware.Active()) {
        screen.dpi = MonitorDpi(monitor);
        return screen;
    }
    // No thread switch: the display mode is physical whatever the awareness.
    screen.dpi = SystemDpi();
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!::EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) ||
        mode.dmPelsWidth == 0 || int(mode.dmPelsWidth) == screen.width || screen.width <= 0)
        return screen;
    // The system shows this unaware program a smaller screen: scale what it
    // saw up to the physical pixels, and the DPI by the same ratio.
    const double ratio = double(mode.dmPelsWidth) / screen.width;
    auto up = [ratio](int v) { return int(std::lround(v * ratio)); };
    screen.workArea = ScreenRect{up(screen.workArea.left), up(screen.workArea.top),
                                 up(screen.workArea.right), up(screen.workArea.bottom)};
    screen.dpi = int(std::lround(screen.dpi * ratio));
    screen.width = int(mode.dmPelsWidth);
    screen.height = int(mode.dmPelsHeight);
    return screen;
}

ScreenRect MeasureDesktopArea() {
    PerMonitorAwareness aware;
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN),
              top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const ScreenRect area{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (aware.Active()) return area;
    // An unaware program sees a scaled desktop: back to physical pixels by
    // the primary monitor's ratio.
    const Screen primary = MeasurePrimaryScreen();
    const int seen = ::GetSystemMetrics(SM_CXSCREEN);
    if (seen <= 0 || seen == primary.width) return area;
    const double ratio = double(primary.width) / seen;
    auto up = [ratio](int v) { return int(std::lround(v * ratio)); };
    return ScreenRect{up(area.left), up(area.top), up(area.right), up(area.bottom)};
}

} // namespace tabulon
