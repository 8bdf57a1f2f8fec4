// The last line of defence of the time budget: a thread that, unless disarmed before
// `at`, runs `onExpiry` (which writes the failure result) and ends the process with the
// exit status it returns. It exists because a blocking library call may ignore every
// timeout; the dispatcher must still find a result file in time.
//
// The owner disarms it by destroying it. Destruction does not wait for the thread to
// wake (that would cost a scheduling round at the end of every send); it only makes
// sure onExpiry is not running and never will, so what onExpiry refers to may go away
// right after. onExpiry must be safe to run on another thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace sendwerk::cmail {

class Watchdog {
public:
    Watchdog(std::chrono::steady_clock::time_point at, std::function<int()> onExpiry);
    ~Watchdog();

    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        bool disarmed = false;
    };
    std::shared_ptr<State> state_;
};

}  // namespace sendwerk::cmail
