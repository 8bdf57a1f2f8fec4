// Where the byte-range locks of shared use sit, beyond the end of any real data, so
// that every engine sharing a table agrees on them: record n at base + n, the whole
// file from base + 1 over base bytes, the append (header) lock at base; an NTX or DBT
// file is locked at base. Beyond all of them lies the program's own start-up lock,
// which no other engine knows: it keeps two copies of the program from passing the
// single-instance test at the same moment.
#pragma once

#include <cstdint>

namespace sendwerk::dbf {

inline constexpr std::int64_t lockBase = 1'000'000'000;
inline constexpr std::int64_t fileLockStart = lockBase + 1;
inline constexpr std::int64_t fileLockLength = 1'000'000'000;
inline constexpr std::int64_t startUpLockOffset = fileLockStart + fileLockLength;

inline constexpr std::int64_t recordLockOffset(std::int64_t recordNumber) { return lockBase + recordNumber; }

}  // namespace sendwerk::dbf
