#include "watchdog.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <cstdio>
#include <cstdlib>

namespace sendwerk::cmail {
namespace {

using Clock = std::chrono::steady_clock;

TEST(Watchdog, DisarmedInTimeNeverFires) {
    bool fired = false;
    {
        Watchdog watchdog(Clock::now() + std::chrono::hours(1), [&] {
            fired = true;
            return 1;
        });
    }
    EXPECT_FALSE(fired);
}

// The firing watchdog ends the process; the death test runs it in a fresh child.
TEST(WatchdogDeathTest, FiresAndEndsTheProcessWithTheStatusOfItsCallback) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Watchdog watchdog(Clock::now() + std::chrono::milliseconds(50), [] {
                std::fputs("watchdog fired\n", stderr);
                return 7;
            });
            // Waits (bounded) for the watchdog to end the process; 0 would mean it did not.
            poll(nullptr, 0, 10000);
            std::exit(0);
        },
        ::testing::ExitedWithCode(7), "watchdog fired");
}

}  // namespace
}  // namespace sendwerk::cmail
