#include "ui/Timer.h"

#include "ui/WinControl.h"

namespace tabulon {

TTimer::TTimer(TWinControl& owner, UINT_PTR id, UINT intervalMs,
               std::function<void(TTimer&)> onTimer, bool enabled)
    : OnTimer(std::move(onTimer)), owner_(owner), interval_(intervalMs), id_(id) {
    owner_.RegisterTimer(id_, this);
    SetEnabled(enabled);
}

TTimer::~TTimer() {
    SetEnabled(false);
    owner_.UnregisterTimer(id_);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled)
        ::SetTimer(owner_.Handle(), id_, interval_, nullptr);
    else
        ::KillTimer(owner_.Handle(), id_);
}

void TTimer::Fire() {
    if (enabled_ && OnTimer) OnTimer(*this);
}

} // namespace tabulon
