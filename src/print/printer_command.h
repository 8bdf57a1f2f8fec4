// Hands a finished printout to a printer command ("lp -d office"), started without a
// shell, within a time limit. A command that cannot start, exits non-zero or does not
// finish in time fails with a German cause that names the printer, the command and what
// the command said.
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

}  // namespace sendwerk
