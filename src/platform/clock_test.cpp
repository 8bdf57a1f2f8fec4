#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace sendwerk {
namespace {

TEST(Clock, TextsOfTimeAndDate) {
    VirtualClock clock(QDateTime(QDate(2024, 7, 5), QTime(9, 3, 7)));
    EXPECT_EQ(clock.timeText(), "09:03:07");
    EXPECT_EQ(clock.dateText(), "05.07.24");
    clock.pause(15 * 3600);
    EXPECT_EQ(clock.timeText(), "00:03:07");
    EXPECT_EQ(clock.dateText(), "06.07.24");
}

TEST(VirtualClock, PausesCountInHundredths) {
    struct Case {
        double seconds;
        double passed;
    } cases[] = {{1.234, 1.23}, {0.005, 0.01}, {0.004, 0}, {0, 0}, {-3, 0}, {120, 120}};
    for (const Case& c : cases) {
        VirtualClock clock;
        const QDateTime start = clock.now();
        clock.pause(c.seconds);
        EXPECT_DOUBLE_EQ(clock.pausedSeconds(), c.passed) << c.seconds;
        EXPECT_EQ(start.msecsTo(clock.now()), qRound64(c.passed * 1000)) << c.seconds;
    }
}

TEST(VirtualClock, RunsActionsInTimeOrderAtTheirTime) {
    VirtualClock clock;
    const QDateTime start = clock.now();
    QStringList log;
    auto record = [&](const char* name) {
        return [&, name] { log << QString("%1@%2").arg(name).arg(start.msecsTo(clock.now())); };
    };
    clock.after(3, record("c"));
    clock.after(1, record("a"));
    clock.after(3, record("d"));  // same time as c: after it, in order scheduled
    clock.after(9, record("late"));
    clock.at(start.addSecs(-5), record("past"));
    clock.pause(2);
    EXPECT_EQ(log, (QStringList{"past@0", "a@1000"}));
    clock.pause(1);
    EXPECT_EQ(log, (QStringList{"past@0", "a@1000", "c@3000", "d@3000"}));
    EXPECT_EQ(start.msecsTo(clock.now()), 3000);
}

TEST(VirtualClock, ActionsMayScheduleAndPauseThemselves) {
    VirtualClock clock;
    const QDateTime start = clock.now();
    QStringList log;
    auto stamp = [&](const QString& what) { log << QString("%1@%2").arg(what).arg(start.msecsTo(clock.now())); };
    clock.after(1, [&] {
        stamp("outer");
        clock.after(0.5, [&] { stamp("inner"); });
        clock.after(10, [&] { stamp("much later"); });
        clock.pause(2);  // runs "inner" and carries time to 3 s
        stamp("outer done");
    });
    clock.after(2, [&] { stamp("two"); });
    clock.pause(2.5);
    // The nested pause passed 3 s already, so the outer pause of 2.5 s is over.
    EXPECT_EQ(log, (QStringList{"outer@1000", "inner@1500", "two@2000", "outer done@3000"}));
    EXPECT_DOUBLE_EQ(clock.pausedSeconds(), 3.0);
    clock.pause(10);
    EXPECT_EQ(log.last(), "much later@11000");
}

TEST(RealClock, PausesAtLeastAsLongAsAskedAndCallsTheIdleHook) {
    RealClock clock;
    int idleCalls = 0;
    clock.setIdleHook([&] { ++idleCalls; });
    const auto before = std::chrono::steady_clock::now();
    clock.pause(0.06);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(60));
    EXPECT_GE(idleCalls, 1);
    idleCalls = 0;
    clock.pause(0);
    clock.pause(-1);
    EXPECT_EQ(idleCalls, 0);
}

}  // namespace
}  // namespace sendwerk
