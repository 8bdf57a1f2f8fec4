#include "print/printer_command.h"

#include "platform/process_starter.h"
#include "platform/system_error.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <QLocale>

namespace sendwerk {

Result<> sendToPrinterCommand(const QString& printer, const QStringList& command, const QByteArray& data,
                              std::chrono::milliseconds timeLimit, const std::function<void()>& whileWaiting) {
    const QString program = command.value(0);
    if (program.isEmpty())
        return Failure{QStringLiteral("Druck auf %1 nicht möglich: kein Befehl angegeben.").arg(printer)};
    const PipedRun run = runWithInput(command, data, timeLimit, whileWaiting);
    if (!run.started)
        return Failure{
            QStringLiteral("Druck auf %1 nicht möglich: %2 startet nicht (%3).").arg(printer, program, run.failure)};
    if (run.timedOut) {
        const double seconds = std::chrono::duration<double>(timeLimit).count();
        return Failure{QStringLiteral("Druck auf %1 abgebrochen: %2 ist nach %3 Sekunden nicht fertig.")
                           .arg(printer, program, QLocale(QLocale::German).toString(seconds, 'g', 3))};
    }
    if (run.exitStatus != 0)
        return Failure{QStringLiteral("Druck auf %1 fehlgeschlagen: %2 endet mit %3. %4")
                           .arg(printer, program)
                           .arg(run.exitStatus)
                           .arg(QString::fromLocal8Bit(run.output).trimmed())
                           .trimmed()};
    return {};
}

Result<> sendToPrinterFile(const QString& printer, const QString& path, const QByteArray& data, FileMode mode) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == FileMode::Append ? O_APPEND : O_TRUNC);
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0644);
    if (fd < 0)
        return Failure{QStringLiteral("Druck auf %1 nicht möglich: %2 (%3).").arg(printer, path, germanCause(errno))};
    qsizetype written = 0;
    int error = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + written, size_t(data.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        written += n;
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0)
        return Failure{QStringLiteral("Druck auf %1 unvollständig: %2 (%3).").arg(printer, path, germanCause(error))};
    return {};
}

}  // namespace sendwerk
