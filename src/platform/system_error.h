// The cause of a failed system call in the operator's words: German for the errors a
// file operation of the office meets (missing, no right, disk full, read-only, in use,
// I/O), the system's own text for the rare rest.
#pragma once

#include <QString>

namespace sendwerk {

QString germanCause(int errorNumber);

}  // namespace sendwerk
