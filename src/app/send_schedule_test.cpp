#include "app/send_schedule.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(SendSchedule, NextSendTimeIsTwoMinutesOnWithoutMidnightWrap) {
    const std::pair<QTime, const char*> cases[] = {
        {QTime(10, 3, 30), "10:05:30"},  {QTime(9, 58, 59), "10:00:59"},  {QTime(0, 0, 0), "00:02:00"},
        {QTime(23, 58, 10), "24:00:10"}, {QTime(23, 59, 30), "24:01:30"}, {QTime(23, 59, 59), "24:01:59"},
    };
    for (const auto& [time, expected] : cases)
        EXPECT_EQ(nextSendTime(time), QString::fromLatin1(expected)) << time.toString().toStdString();
}

TEST(SendSchedule, Titles) {
    EXPECT_EQ(titleAfterClick("24:01:30"),
              QStringLiteral("TAVO-Mail - automatisches Mail-Programm (Hilfe mit F1) - nächste Sendung um: 24:01:30"));
    EXPECT_EQ(titleAfterTimedRun("10:02:00"),
              QStringLiteral("TAVO-Mail - automatisches Mail-Programm (Hilfe mit F1) - nächste Sendung: 10:02:00"));
}

}  // namespace
}  // namespace sendwerk
