// Waiting out another program's brief hold on a file, and reporting only a
// hold that outlasts one auto-save tick.
#include <gtest/gtest.h>

#include <vector>

#include "base/PassingLock.h"

namespace tabulon {
namespace {

constexpr unsigned long kAccessDenied = 5, kSharing = 32, kLock = 33, kDiskFull = 112;

struct Pauses {
    std::vector<long> taken;
    Pauses() {
        SetRetryPauseForTesting(
            [this](std::chrono::milliseconds ms) { taken.push_back(ms.count()); });
    }
    ~Pauses() { SetRetryPauseForTesting({}); }
};

// Runs RetryPassingLocks over the given results of successive attempts.
unsigned long Retry(std::vector<unsigned long> results, int& attempts) {
    attempts = 0;
    return RetryPassingLocks([&] { return results[size_t(attempts++)]; });
}

TEST(PassingLock, RetriesOnlyLocksAndWithinAFewHundredMilliseconds) {
    Pauses pauses;
    int attempts = 0;
    EXPECT_EQ(Retry({kSharing, kLock, 0}, attempts), 0u);
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(pauses.taken.size(), 2u);

    pauses.taken.clear();
    EXPECT_EQ(Retry({kAccessDenied, kAccessDenied, kAccessDenied, kAccessDenied, kAccessDenied},
                    attempts),
              kAccessDenied);
    EXPECT_EQ(attempts, 5);
    long total = 0;
    for (long ms : pauses.taken)
        total += ms;
    EXPECT_GE(total, 100);
    EXPECT_LE(total, 500);
    for (size_t i = 1; i < pauses.taken.size(); ++i)
        EXPECT_GT(pauses.taken[i], pauses.taken[i - 1]) << "the pauses grow";

    pauses.taken.clear();
    EXPECT_EQ(Retry({kDiskFull}, attempts), kDiskFull); // a lasting fault: at once
    EXPECT_EQ(Retry({kSharing, kDiskFull}, attempts), kDiskFull);
    EXPECT_EQ(Retry({0}, attempts), 0u);
    EXPECT_EQ(pauses.taken.size(), 1u);
}

TEST(PassingLock, OnlyALockThatPersistsIntoTheNextTickIsReported) {
    PassingLockFilter filter;
    EXPECT_FALSE(filter.ShouldReport(kSharing)); // one tick: the next may pass
    EXPECT_TRUE(filter.ShouldReport(kSharing));  // still there
    EXPECT_TRUE(filter.ShouldReport(kAccessDenied));
    filter.Succeeded();
    EXPECT_FALSE(filter.ShouldReport(kLock));
    filter.Succeeded();
    EXPECT_FALSE(filter.ShouldReport(kSharing));
    EXPECT_TRUE(filter.ShouldReport(kDiskFull)); // other faults at once
    EXPECT_FALSE(filter.ShouldReport(kSharing)); // and the count starts again
    EXPECT_TRUE(filter.ShouldReport(0));         // not a system error: at once
}

} // namespace
} // namespace tabulon
