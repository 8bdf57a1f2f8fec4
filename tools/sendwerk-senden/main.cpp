// sendwerk-senden: one send run over the configured data root, without a window, for
// servers and cron. It makes the start-up checks (and so never runs beside the window
// or another copy), runs Senden() once, prints every pane change, and exits with
//   0  the run was completed (or found nothing to send),
//   3  the mail client gave no answer (the run ended early),
//   1  start-up refused (the office's message on stderr),
//   2  a runtime error (file and cause on stderr).
#include <QCoreApplication>

#include <cstdio>
#include <exception>

#include "console_screen.h"
#include "dbf/work_areas.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/process_starter.h"
#include "platform/settings.h"
#include "queue/queue_context.h"
#include "queue/send_run.h"
#include "queue/shared.h"
#include "queue/start_up.h"

namespace {

void printError(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

sendwerk::StartUpDialogs headlessDialogs(sendwerk::Clock& clock) {
    sendwerk::StartUpDialogs dialogs;
    dialogs.message = [](const QString& text) { printError(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))); };
    dialogs.tableOpen.askYesNo = [](const QString& message, const QString& title) {
        printError(title + QStringLiteral("\n") + message + QStringLiteral("\nsendwerk-senden: ohne Bediener: NEIN"));
        return false;
    };
    dialogs.tableOpen.waitForKey = [&clock](double seconds) { clock.pause(seconds); };
    dialogs.tableOpen.endProgram = [] {
        printError(QStringLiteral("sendwerk-senden: Programmabbruch, die Einstellungstabelle ist nicht zu öffnen."));
        throw sendwerk::EndOfProgram{};
    };
    return dialogs;
}

int exitStatus(sendwerk::RunEnd end) {
    using sendwerk::RunEnd;
    switch (end) {
    case RunEnd::NoAnswer: return 3;
    case RunEnd::Completed:
    case RunEnd::NoConnectionData:
    case RunEnd::EmptyOutbox:
    case RunEnd::Busy: return 0;
    }
    return 2;
}

int run() {
    using namespace sendwerk;
    const Settings settings = Settings::load();
    const PathResolver resolver = PathResolver::fromSettings(settings);
    FileSystem files(resolver);
    dbf::WorkAreas areas(resolver);
    RealClock clock;
    PosixProcessStarter starter(files, settings.editor);
    ConsoleScreen screen(stdout);
    Shared shared;
    shared.screen = screen.parts();
    QueueContext context{files, areas, clock, starter, screen.messageDialog(), settings.orderTableFolder};

    if (!startUpChecks(shared, context, headlessDialogs(clock))) return 1;
    const RunEnd end = Senden(shared, context);
    areas.commitAll();
    areas.closeAll();
    return exitStatus(end);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    try {
        return run();
    } catch (const sendwerk::EndOfProgram&) {
        return 1;
    } catch (const std::exception& error) {
        printError(QStringLiteral("sendwerk-senden: ") + QString::fromLocal8Bit(error.what()));
        return 2;
    }
}
