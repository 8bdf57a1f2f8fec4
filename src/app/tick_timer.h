// The one timer of continuous mode: a thread of its own that runs an action every
// period (the main window passes 120 s and "post the timer tick"). start() replaces
// the running cycle, so there is never more than one and the period counts from the
// latest start. The action runs on the timer thread: it must only post into the
// thread-safe event queue. start() and the destructor belong to the GUI thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace sendwerk {

class TickTimer {
public:
    TickTimer() = default;
    ~TickTimer();
    TickTimer(const TickTimer&) = delete;
    TickTimer& operator=(const TickTimer&) = delete;

    void start(std::chrono::milliseconds period, std::function<void()> action);

private:
    void stop();

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace sendwerk
