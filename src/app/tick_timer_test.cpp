#include "app/tick_timer.h"

#include <gtest/gtest.h>

#include <atomic>

namespace sendwerk {
namespace {

using namespace std::chrono_literals;

// Waits for a condition with a deadline, without sleeping for a fixed time.
template <typename Condition>
bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

TEST(TickTimer, RunsTheActionEveryPeriodOnItsOwnThread) {
    std::atomic<int> ticks = 0;
    std::atomic<bool> otherThread = false;
    const auto gui = std::this_thread::get_id();
    TickTimer timer;
    timer.start(5ms, [&] {
        otherThread = std::this_thread::get_id() != gui;
        ++ticks;
    });
    EXPECT_TRUE(eventually([&] { return ticks >= 3; }));
    EXPECT_TRUE(otherThread);
}

TEST(TickTimer, RestartReplacesTheRunningCycle) {
    std::atomic<int> first = 0;
    std::atomic<int> second = 0;
    TickTimer timer;
    timer.start(1ms, [&] { ++first; });
    ASSERT_TRUE(eventually([&] { return first >= 1; }));
    timer.start(1ms, [&] { ++second; });
    const int firstAtRestart = first;
    ASSERT_TRUE(eventually([&] { return second >= 3; }));
    EXPECT_EQ(first, firstAtRestart);
}

TEST(TickTimer, DestructionEndsALongCycleAtOnce) {
    std::atomic<int> ticks = 0;
    const auto started = std::chrono::steady_clock::now();
    {
        TickTimer timer;
        timer.start(120s, [&] { ++ticks; });
    }
    EXPECT_EQ(ticks, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 60s);
}

}  // namespace
}  // namespace sendwerk
