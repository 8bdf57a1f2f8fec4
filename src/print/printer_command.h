// Hands a finished printout over whole: to a printer command ("lp -d office"), started
// without a shell, within a time limit; or to a printer file (a device such as
// /dev/usb/lp0, or a plain file). A command that cannot start, exits non-zero or does not
// finish in time, or a file that cannot be opened or written, fails with a German cause
// that names the printer and the command or file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

#include "platform/result.h"

namespace sendwerk {

Result<> sendToPrinterCommand(const QString& printer, const QStringList& command, const QByteArray& data,
                              std::chrono::milliseconds timeLimit, const std::function<void()>& whileWaiting);

enum class FileMode { Append, Replace };

// Writes `data` to the native file `path`, creating it when missing.
Result<> sendToPrinterFile(const QString& printer, const QString& path, const QByteArray& data, FileMode mode);

}  // namespace sendwerk
