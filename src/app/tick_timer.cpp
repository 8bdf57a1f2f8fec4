#include "app/tick_timer.h"

namespace sendwerk {

TickTimer::~TickTimer() { stop(); }

void TickTimer::stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
    stopping_ = false;
}

void TickTimer::start(std::chrono::milliseconds period, std::function<void()> action) {
    stop();
    thread_ = std::thread([this, period, action = std::move(action)] {
        auto due = std::chrono::steady_clock::now() + period;
        std::unique_lock lock(mutex_);
        while (!wake_.wait_until(lock, due, [this] { return stopping_; })) {
            lock.unlock();
            action();
            lock.lock();
            due += period;
        }
    });
}

}  // namespace sendwerk
