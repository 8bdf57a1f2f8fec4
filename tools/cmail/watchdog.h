// The last line of defence of the time budget: a thread that, unless disarmed before
// `at`, runs `onExpiry` (which writes the failure result) and ends the process with
// the exit status it returns. It exists because a blocking library call may ignore every timeout;
// the dispatcher must still find a result file in time.
// The owner disarms it by destroying it; onExpiry must be safe to run on another thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace sendwerk::cmail {

class Watchdog {
public:
    Watchdog(std::chrono::steady_clock::time_point at, std::function<int()> onExpiry);
    ~Watchdog();

    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool disarmed_ = false;
    std::thread thread_;
};

}  // namespace sendwerk::cmail
