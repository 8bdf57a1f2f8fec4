// DOS wildcard matching of file names: '*' stands for any run of characters, '?' for
// exactly one, everything else matches itself ignoring case. "*.*" matches every name,
// also one without a dot, as DOS has it. Pure function, thread-safe.
#pragma once

#include <QString>

namespace sendwerk {

bool matchesWildcard(const QString& name, const QString& pattern);

}  // namespace sendwerk
