#include "print/printer_command.h"

#include "platform/process_starter.h"

#include <QLocale>

namespace sendwerk {

Result<> sendToPrinterCommand(const QString& printer, const QStringList& command, const QByteArray& data,
                              std::chrono::milliseconds timeLimit, const std::function<void()>& whileWaiting) {
    const QString program = command.value(0);
    if (program.isEmpty()) return Failure{QStringLiteral("Druck auf %1 nicht möglich: kein Befehl angegeben.").arg(printer)};
    const PipedRun run = runWithInput(command, data, timeLimit, whileWaiting);
    if (!run.started)
        return Failure{QStringLiteral("Druck auf %1 nicht möglich: %2 startet nicht (%3).").arg(printer, program, run.failure)};
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

}  // namespace sendwerk
