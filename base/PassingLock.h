#pragma once
// Sync clients, backup tools and virus scanners open files for moments: a
// save that meets their lock succeeds a few hundred milliseconds later. File
// operations retry such failures briefly before they report them.
#include <chrono>
#include <functional>

namespace tabulon {

// Access denied, sharing violation, lock violation: the failures another
// program's brief hold on a file causes.
bool IsPassingLock(unsigned long systemCode);

// The pauses between attempts; their sum bounds how long one file operation
// waits for a lock to pass.
inline constexpr std::chrono::milliseconds kPassingLockPauses[] = {
    std::chrono::milliseconds(20), std::chrono::milliseconds(40), std::chrono::milliseconds(80),
    std::chrono::milliseconds(160)};

// Runs `attempt` (a system error code, 0 for success) until it succeeds,
// fails for another reason, or the pauses are used up; returns its last result.
unsigned long RetryPassingLocks(const std::function<unsigned long()>& attempt);

// Test seam: replaces the pause (std::this_thread::sleep_for). Empty restores it.
void SetRetryPauseForTesting(std::function<void(std::chrono::milliseconds)> pause);

// Remembers whether the last failure of a repeated action (one per auto-save
// tick) was a passing lock, so that only a lock that persists into the next
// tick is reported: one tick's retries cover the usual brief holds.
class PassingLockFilter {
  public:
    // True when a failure with this code should be reported now.
    bool ShouldReport(unsigned long systemCode);
    void Succeeded() { heldBefore_ = false; }

  private:
    bool heldBefore_ = false;
};

} // namespace tabulon
