#include "base/PassingLock.h"

#include <thread>

namespace tabulon {

namespace {

// The system's codes, spelled out: this file builds without windows.h.
constexpr unsigned long kAccessDenied = 5;
constexpr unsigned long kSharingViolation = 32;
constexpr unsigned long kLockViolation = 33;

std::function<void(std::chrono::milliseconds)>& Pause() {
    static std::function<void(std::chrono::milliseconds)> pause;
    return pause;
}

} // namespace

bool IsPassingLock(unsigned long systemCode) {
    return systemCode == kAccessDenied || systemCode == kSharingViolation ||
           systemCode == kLockViolation;
}

unsigned long RetryPassingLocks(const std::function<unsigned long()>& attempt) {
    unsigned long code = attempt();
    for (std::chrono::milliseconds pause : kPassingLockPauses) {
        if (!IsPassingLock(code)) break;
        if (Pause())
            Pause()(pause);
        else
            std::this_thread::sleep_for(pause);
        code = attempt();
    }
    return code;
}

void SetRetryPauseForTesting(std::function<void(std::chrono::milliseconds)> pause) {
    Pause() = std::move(pause);
}

bool PassingLockFilter::ShouldReport(unsigned long systemCode) {
    if (!IsPassingLock(systemCode)) {
        heldBefore_ = false;
        return true;
    }
    const bool persisted = heldBefore_;
    heldBefore_ = true;
    return persisted;
}

} // namespace tabulon
