// A forked child that the test holds on a leash: it runs `body` under ptrace and can be
// stopped as it enters its n-th call of chosen system calls (a write, a rename, an
// fsync ...), before that call does anything. From there the test kills it (a crash
// at that very step), lets another process act first (a delay injected at that step),
// or lets it run on. Nothing waits on time: every step waits for the child's next stop.
//
// Only the child's first thread is followed; `body` runs in a copy of the test process
// and its return value is the exit code (an escaping exception gives 2). One object per
// child, used on the test's thread.
#pragma once

#include <functional>
#include <set>

#include <sys/types.h>

namespace sendwerk::testing {

class TracedChild {
public:
    explicit TracedChild(const std::function<int()>& body);
    ~TracedChild();  // kills a child that is still there
    TracedChild(const TracedChild&) = delete;
    TracedChild& operator=(const TracedChild&) = delete;

    // Runs the child until it enters its `n`-th call (counted over the calls of this
    // set since the start, n ≥ 1) and holds it there. False when it ended first.
    bool stopAtCall(const std::set<long>& calls, int n);
    // Kills the child where it stands and reaps it.
    void kill();
    // Lets the child run to its end; its exit code, or -1 when it died by a signal.
    int finish();

    bool ended() const { return ended_; }
    pid_t pid() const { return pid_; }

private:
    // Continues to the next stop; false when the child ended there.
    bool resume();

    pid_t pid_ = -1;
    bool ended_ = false;
    int exitCode_ = -1;
    int pendingSignal_ = 0;
    int counted_ = 0;
};

// The system calls that change files, for kill-at-every-step loops.
std::set<long> fileChangingCalls();

}  // namespace sendwerk::testing
