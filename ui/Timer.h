#pragma once
// TTimer: SetTimer on a window, with a handler run from the message loop.
#include <windows.h>

#include <functional>

namespace tabulon {

class TWinControl;

class TTimer {
  public:
    // Starts at once when `enabled`. `id` is the program's, one per timer of
    // the owner window (platform/ProgramIds.h).
    TTimer(TWinControl& owner, UINT_PTR id, UINT intervalMs, std::function<void(TTimer&)> onTimer,
           bool enabled = true);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    UINT Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Runs the handler (the owner window calls this on WM_TIMER).
    void Fire();

    std::function<void(TTimer&)> OnTimer;

  private:
    TWinControl& owner_;
    UINT interval_;
    UINT_PTR id_;
    bool enabled_ = false;
};

} // namespace tabulon
