// Time of day, date and the fixed pauses of the office's rules. Every pause goes
// through a Clock, so tests run on a VirtualClock and never sleep.
//
// RealClock pauses in small steps and calls its idle hook between them, so the window
// can keep painting while a send run waits (the hook must not deliver input).
// VirtualClock advances its time only in pause() and runs the actions scheduled with
// at()/after() in time order as the pause passes them (ties in the order scheduled).
// Neither is thread-safe: the GUI thread owns the clock.
#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <map>
#include <utility>

namespace sendwerk {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Waits `seconds` (resolution: hundredths of a second). Negative or zero: no wait.
    virtual void pause(double seconds) = 0;

    // "hh:mm:ss", 24-hour clock.
    QString timeText() const;
    // "dd.mm.yy", the date format of the office (century digits off).
    QString dateText() const;
};

class RealClock final : public Clock {
public:
    QDateTime now() const override;
    void pause(double seconds) override;
    // Called about every 20 ms during a pause; empty hook: plain sleep.
    void setIdleHook(std::function<void()> hook) { idleHook_ = std::move(hook); }

private:
    std::function<void()> idleHook_;
};

class VirtualClock final : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2024, 7, 15), QTime(9, 0, 0)));

    QDateTime now() const override { return now_; }
    void pause(double seconds) override;

    // Runs `action` when virtual time reaches `when` (at once in the next pause if it
    // already has). Actions may schedule further actions and may call pause().
    void at(const QDateTime& when, std::function<void()> action);
    void after(double seconds, std::function<void()> action);

    // Total virtual seconds passed in pause() since construction.
    double pausedSeconds() const { return pausedMs_ / 1000.0; }

private:
    QDateTime now_;
    qint64 pausedMs_ = 0;
    qint64 nextSequence_ = 0;
    std::multimap<std::pair<QDateTime, qint64>, std::function<void()>> due_;
};

}  // namespace sendwerk
