#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace sendwerk {

namespace {

// Pauses are counted in hundredths of a second, as the office's rules state them.
qint64 pauseMilliseconds(double seconds) {
    if (!(seconds > 0)) return 0;
    return qRound64(seconds * 100.0) * 10;
}

}  // namespace

QString Clock::timeText() const { return now().time().toString(QStringLiteral("hh:mm:ss")); }

QString Clock::dateText() const { return now().date().toString(QStringLiteral("dd.MM.yy")); }

QDateTime RealClock::now() const { return QDateTime::currentDateTime(); }

void RealClock::pause(double seconds) {
    using namespace std::chrono;
    const auto step = milliseconds(20);
    const auto deadline = steady_clock::now() + milliseconds(pauseMilliseconds(seconds));
    for (auto left = deadline - steady_clock::now(); left > steady_clock::duration::zero();
         left = deadline - steady_clock::now()) {
        if (idleHook_) idleHook_();
        const auto rest = deadline - steady_clock::now();
        if (rest <= steady_clock::duration::zero()) break;
        std::this_thread::sleep_for(std::min<steady_clock::duration>(step, rest));
    }
}

VirtualClock::VirtualClock(QDateTime start) : now_(std::move(start)) {}

void VirtualClock::pause(double seconds) {
    const QDateTime target = now_.addMSecs(pauseMilliseconds(seconds));
    // The action is taken out of the schedule before it runs, so it may schedule more
    // actions and pause itself; a nested pause may carry time beyond our own target.
    while (!due_.empty() && due_.begin()->first.first <= target) {
        auto first = due_.begin();
        const QDateTime when = first->first.first;
        std::function<void()> action = std::move(first->second);
        due_.erase(first);
        if (when > now_) {
            pausedMs_ += now_.msecsTo(when);
            now_ = when;
        }
        action();
    }
    if (target > now_) {
        pausedMs_ += now_.msecsTo(target);
        now_ = target;
    }
}

void VirtualClock::at(const QDateTime& when, std::function<void()> action) {
    due_.emplace(std::make_pair(when, nextSequence_++), std::move(action));
}

void VirtualClock::after(double seconds, std::function<void()> action) {
    at(now_.addMSecs(pauseMilliseconds(seconds)), std::move(action));
}

}  // namespace sendwerk
