#include "watchdog.h"

#include <unistd.h>

namespace sendwerk::cmail {

Watchdog::Watchdog(std::chrono::steady_clock::time_point at, std::function<int()> onExpiry)
{
    thread_ = std::thread([this, at, onExpiry = std::move(onExpiry)] {
        std::unique_lock lock(mutex_);
        if (wake_.wait_until(lock, at, [this] { return disarmed_; }))
            return;
        lock.unlock();
        _exit(onExpiry());
    });
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard lock(mutex_);
        disarmed_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

}  // namespace sendwerk::cmail
