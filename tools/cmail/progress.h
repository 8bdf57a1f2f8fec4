// The report of the send in progress, shared between the thread that talks to the
// server and the watchdog, which may have to write it as it stands. Every access holds
// the lock, so the watchdog never reads a half-updated report.
#pragma once

#include "send_report.h"

#include <mutex>

namespace sendwerk::cmail {

class Progress {
public:
    explicit Progress(SendReport start) : report_(std::move(start)) {}

    template <typename Change>
    void update(Change&& change) {
        std::lock_guard lock(mutex_);
        change(report_);
    }

    SendReport snapshot() const {
        std::lock_guard lock(mutex_);
        return report_;
    }

private:
    mutable std::mutex mutex_;
    SendReport report_;
};

}  // namespace sendwerk::cmail
