// The time budget of one cmail run. The dispatcher stops looking for the result file
// 15 s after the start, so cmail gives up on the network at `networkLimit` and, should
// anything still hang then (a blocking call that ignores vmime's timeout handler), the
// watchdog writes the result at `hardLimit` and ends the process.
//
// BudgetTimeouts plugs the budget into vmime: every wait on a socket (connect, TLS
// handshake, each reply) ends when the budget is spent, whatever vmime resets.
// Thread-safe: the budget is immutable after construction.
#pragma once

#include <vmime/net/timeoutHandler.hpp>

#include <chrono>

namespace sendwerk::cmail {

class TimeBudget {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::milliseconds networkLimit{10000};
    static constexpr std::chrono::milliseconds hardLimit{11500};

    explicit TimeBudget(Clock::time_point start, std::chrono::milliseconds network = networkLimit)
        : start_(start), networkEnd_(start + network) {}

    Clock::time_point start() const { return start_; }
    Clock::time_point networkEnd() const { return networkEnd_; }
    bool networkSpent() const { return Clock::now() >= networkEnd_; }

private:
    Clock::time_point start_;
    Clock::time_point networkEnd_;
};

class BudgetTimeouts : public vmime::net::timeoutHandlerFactory {
public:
    explicit BudgetTimeouts(TimeBudget budget) : budget_(budget) {}
    vmime::shared_ptr<vmime::net::timeoutHandler> create() override;

private:
    TimeBudget budget_;
};

}  // namespace sendwerk::cmail
