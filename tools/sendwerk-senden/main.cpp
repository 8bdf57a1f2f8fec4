// sendwerk-senden: the office's mail queue without a window, for servers, cron and the
// systemd timer. Without options it makes the start-up checks (and so never runs
// beside the window or another copy), runs Senden() once, prints one line per order and
// a summary, and exits with
//   0  everything was sent (or the outbox was empty),
//   4  the run was completed with failed, quarantined or unaddressable orders,
//   5  nothing was sent: the connection data are incomplete,
//   3  the mail client did not answer or could not be started (the run ended early),
//   1  start-up refused (the office's message on stderr),
//   2  bad arguments (usage on stderr) or a runtime error (file and cause on stderr).
// --list and --dry-run only read; --requeue does what the WIEDERHOLEN buttons do.
#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <exception>

#include "console_screen.h"
#include "dbf/work_areas.h"
#include "dry_run.h"
#include "options.h"
#include "order_report.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/process_starter.h"
#include "platform/program_info.h"
#include "platform/settings.h"
#include "queue/folders.h"
#include "queue/queue_context.h"
#include "queue/retry.h"
#include "queue/send_run.h"
#include "queue/shared.h"
#include "queue/start_up.h"
#include "queue_listing.h"

namespace {

using namespace sendwerk;
using senden::Options;
using senden::Output;
using senden::Task;

void printLine(std::FILE* to, QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(to, "%s\n", text.toUtf8().constData());
    std::fflush(to);
}

void printError(const QString& text) { printLine(stderr, text); }

StartUpDialogs headlessDialogs(Clock& clock) {
    StartUpDialogs dialogs;
    dialogs.message = [](const QString& text) { printError(text); };
    dialogs.tableOpen.askYesNo = [](const QString& message, const QString& title) {
        printError(title + QStringLiteral("\n") + message + QStringLiteral("\nsendwerk-senden: ohne Bediener: NEIN"));
        return false;
    };
    dialogs.tableOpen.waitForKey = [&clock](double seconds) { clock.pause(seconds); };
    dialogs.tableOpen.endProgram = [] {
        printError(QStringLiteral("sendwerk-senden: Programmabbruch, die Einstellungstabelle ist nicht zu öffnen."));
        throw EndOfProgram{};
    };
    return dialogs;
}

// Everything a task works with, alive for the whole command.
struct Services {
    Services(const Settings& settings, const Options& options)
        : resolver(PathResolver::fromSettings(settings)),
          starter(files, settings.editor),
          screen(options.output == Output::Panes ? stdout : nullptr, stderr),
          context{files,
                  areas,
                  clock,
                  starter,
                  screen.messageDialog(),
                  settings.orderTableFolder,
                  settings.errorReportAddress,
                  {},
                  settings.settleSeconds} {
        shared.screen = screen.parts();
    }
    ~Services() {
        areas.commitAll();
        areas.closeAll();
    }

    PathResolver resolver;
    FileSystem files{resolver};
    dbf::WorkAreas areas{resolver};
    RealClock clock;
    PosixProcessStarter starter;
    ConsoleScreen screen;
    Shared shared;
    QueueContext context;
};

int sendOnce(Services& s, const Options& options) {
    if (!startUpChecks(s.shared, s.context, headlessDialogs(s.clock))) return 1;
    senden::OrderReport report(s.files.list(orderPattern(s.shared.cDatver, Folder::Outbox)),
                               options.output == Output::OrderLines ? stdout : nullptr);
    s.context.recipientFiled = [&report](const OrderNames& names, ListPosition position, FilingOutcome outcome,
                                         const Recipient& recipient) {
        report.recipientFiled(names, position, outcome, recipient);
    };
    const RunEnd end = Senden(s.shared, s.context);
    report.finish();
    if (end == RunEnd::NoConnectionData) printError(s.screen.outboxText().trimmed());
    printLine(stdout, report.summary());
    return report.exitStatus(end);
}

int requeue(Services& s, const Options& options) {
    if (!startUpChecks(s.shared, s.context, headlessDialogs(s.clock))) return 1;
    const QString pattern = orderPattern(s.shared.cDatver, options.requeueFrom);
    const qsizetype before = s.files.list(pattern).size();
    Wiederholen(s.shared, s.context, options.requeueFrom == Folder::Failure ? 0 : 2);
    const qsizetype left = s.files.list(pattern).size();
    printLine(stdout, QStringLiteral("%1 Aufträge aus %2 zurück in den Ausgang")
                          .arg(before - left)
                          .arg(folderPath(s.shared.cDatver, options.requeueFrom)));
    if (left == 0) return 0;
    printError(QStringLiteral("%1 Aufträge blieben liegen:\n%2").arg(left).arg(s.screen.outboxText().trimmed()));
    return 2;
}

int run(const QStringList& arguments) {
    const Options options = senden::parseOptions(arguments);
    if (!options.refused.isEmpty()) {
        std::fprintf(stderr, "sendwerk-senden: %s\n%s", options.refused.toUtf8().constData(), senden::kUsage);
        return 2;
    }
    if (options.task == Task::Help) {
        std::fputs(senden::kUsage, stdout);
        return 0;
    }
    if (options.task == Task::Version) {
        printLine(stdout, versionLine("sendwerk-senden"));
        return 0;
    }

    const Result<Settings> loaded = Settings::load();
    if (!loaded.ok()) {
        printError(QStringLiteral("sendwerk-senden: ") + loaded.cause());
        return 1;
    }
    const Settings& settings = loaded.value();
    // Without a file every office path fails; that is worth saying even when quiet.
    if (settings.file.isEmpty())
        printError(QStringLiteral("sendwerk-senden: ") + settings.origin());
    else if (options.output != Output::Quiet)
        printLine(stdout, settings.origin());

    Services services(settings, options);
    switch (options.task) {
    case Task::List:
        readDataRoot(services.shared, services.context, headlessDialogs(services.clock).tableOpen);
        std::fputs(senden::queueListing(services.shared.cDatver, services.files, QDateTime::currentDateTime())
                       .toUtf8()
                       .constData(),
                   stdout);
        return 0;
    case Task::DryRun:
        readDataRoot(services.shared, services.context, headlessDialogs(services.clock).tableOpen);
        std::fputs(senden::dryRun(services.shared.cDatver, services.context).toUtf8().constData(), stdout);
        return 0;
    case Task::Requeue: return requeue(services, options);
    default: return sendOnce(services, options);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    try {
        return run(application.arguments().mid(1));
    } catch (const EndOfProgram&) {
        return 1;
    } catch (const std::exception& error) {
        printError(QStringLiteral("sendwerk-senden: Programmabbruch: ") + QString::fromUtf8(error.what()));
        return 2;
    }
}
