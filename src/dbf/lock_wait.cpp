#include "dbf/lock_wait.h"

#include "dbf/file_handle.h"
#include "platform/clock.h"

#include <sched.h>

namespace sendwerk::dbf {

namespace {

constexpr double kRetryStep = 0.1;
// Another engine's append holds its lock for two short writes: a few quick tries let
// the next one in without a pause.
constexpr int kQuickTries = 200;

bool quickTries(FileHandle& file, std::int64_t start, std::int64_t length) {
    for (int i = 0; i < kQuickTries; ++i) {
        if (file.lockRange(start, length)) return true;
        sched_yield();
    }
    return false;
}

}  // namespace

bool waitForLock(FileHandle& file, std::int64_t start, std::int64_t length, const LockWait& wait) {
    RealClock realTime;
    Clock& clock = wait.clock != nullptr ? *wait.clock : realTime;
    if (quickTries(file, start, length)) return true;
    // Counted in steps, not read from the clock: a clock that stands still (or a
    // desktop clock set back) still ends the wait.
    for (int step = 0;; ++step) {
        if (file.lockRange(start, length)) return true;
        if (step * kRetryStep >= wait.limitSeconds) return false;
        clock.pause(kRetryStep);
    }
}

}  // namespace sendwerk::dbf
