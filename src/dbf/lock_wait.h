// How long the engine waits for a byte-range lock that another program holds: it tries
// again every tenth of a second, through the given clock, until the time limit has
// passed, and then gives up, so no lock held for ever by someone else can stall the
// program. Without a clock the wait is real time. Tests pass a virtual clock and never
// wait for real.
#pragma once

#include <cstdint>

namespace sendwerk {
class Clock;
}

namespace sendwerk::dbf {

class FileHandle;

struct LockWait {
    Clock* clock = nullptr;
    double limitSeconds = 10;
};

// True once the lock is ours; false when the limit passed while someone else held it.
bool waitForLock(FileHandle& file, std::int64_t start, std::int64_t length, const LockWait& wait);

}  // namespace sendwerk::dbf
