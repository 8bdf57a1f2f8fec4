#include "time_budget.h"

namespace sendwerk::cmail {

namespace {

class BudgetTimeoutHandler : public vmime::net::timeoutHandler {
public:
    explicit BudgetTimeoutHandler(TimeBudget budget) : budget_(budget) {}

    bool isTimeOut() override { return budget_.networkSpent(); }
    void resetTimeOut() override {}
    // Never extend: the whole run has one budget.
    bool handleTimeOut() override { return false; }

private:
    TimeBudget budget_;
};

}  // namespace

vmime::shared_ptr<vmime::net::timeoutHandler> BudgetTimeouts::create() {
    return vmime::make_shared<BudgetTimeoutHandler>(budget_);
}

}  // namespace sendwerk::cmail
