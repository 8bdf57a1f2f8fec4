#include "watchdog.h"

#include <thread>

#include <unistd.h>

namespace sendwerk::cmail {

Watchdog::Watchdog(std::chrono::steady_clock::time_point at, std::function<int()> onExpiry)
    : state_(std::make_shared<State>()) {
    std::thread([state = state_, at, onExpiry = std::move(onExpiry)] {
        std::unique_lock lock(state->mutex);
        if (state->wake.wait_until(lock, at, [&] { return state->disarmed; })) return;
        // Still holding the lock: the destructor cannot finish while this runs, and the
        // process ends before it could.
        _exit(onExpiry());
    }).detach();
}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(state_->mutex);
        state_->disarmed = true;
    }
    state_->wake.notify_one();
}

}  // namespace sendwerk::cmail
