// cmail: sends one mail as the dispatcher's parameter string asks and writes the result
// file the dispatcher waits for. Exit status 0 accepted, 1 failure, 2 bad arguments; a
// result file is written in every case where "-results:" could be read, within the
// time budget; when its space cannot be reserved first (disk full), nothing is sent.
// One line on stderr says what happened; nothing secret goes anywhere, and the password
// is masked in the process list as soon as the program runs.
#include "arguments.h"
#include "ehlo_name.h"
#include "message_builder.h"
#include "progress.h"
#include "result_file.h"
#include "sasl_plain.h"
#include "send_report.h"
#include "smtp_session.h"
#include "time_budget.h"
#include "watchdog.h"

#include "platform/dos_path.h"
#include "platform/file_system.h"
#include "platform/program_info.h"
#include "platform/settings.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

namespace sendwerk::cmail {

namespace {

enum ExitStatus { accepted = 0, failure = 1, badArguments = 2 };

constexpr const char* usage =
    "usage: cmail -host:USER:PASSWORD@HOST:PORT -to:ADDRESS -from:ADDRESS -results:RESULTFILE\n"
    "             [-reply-to:ADDRESS] [-subject:TEXT] [-body:TEXT] [-a:ATTACHMENT] [-starttls]\n"
    "             [-dsn:SFD] [-mdn]\n"
    "       cmail --help | --version\n"
    "Sends one mail and writes its result file (JSON, \"status\": \"accepted\" or \"failure\")\n"
    "within 12 seconds. Arguments are Windows-1252; RESULTFILE and ATTACHMENT are DOS paths\n"
    "resolved through the drive map of the settings file (see sendwerk.conf(5)).\n"
    "Exit status: 0 accepted, 1 failure, 2 bad arguments.\n";

void printSummary(const QString& line) { std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData()); }

// Reads the attachment named by the DOS path; returns an error text naming the path
// when it cannot be read.
QString loadAttachment(const FileSystem& fileSystem, const QString& dosPath, Attachment& into) {
    const QString native = fileSystem.native(dosPath);
    if (native.isEmpty()) return QStringLiteral("Anhang %1: Laufwerk nicht zugeordnet").arg(dosPath);
    QFile file(QFileInfo(native).absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Anhang nicht gefunden oder nicht lesbar: %1 (%2: %3)")
            .arg(dosPath, file.fileName(), file.errorString());
    into.content = file.readAll();
    into.fileName = QFileInfo(native).fileName();
    return {};
}

SendReport startingReport(const MailRequest& request) {
    SendReport report;
    report.step = QLatin1String(step::arguments);
    report.recipient = request.to;
    report.server = request.account.address();
    report.dsnAsked = request.dsn.any();
    report.mdnRequested = request.mdn;
    report.timestamp = QDateTime::currentDateTime();
    return report;
}

int finish(ResultFile& resultFile, SendReport report, const QString& secret, int status) {
    report.timestamp = QDateTime::currentDateTime();
    const Result<> written = resultFile.write(report);
    printSummary(summaryLine(report, secret));
    if (!written) {
        printSummary(
            QStringLiteral("cmail: Ergebnisdatei %1 nicht geschrieben: %2").arg(resultFile.dosPath(), written.cause()));
        return status == accepted ? failure : status;
    }
    return status;
}

int run(const std::vector<QByteArray>& arguments) {
    const TimeBudget budget(TimeBudget::Clock::now());
    const ParsedArguments parsed = parseArguments(arguments);
    const MailRequest& request = parsed.request;
    const QString& secret = request.account.password;

    const Result<Settings> loaded = Settings::load();
    if (!loaded.ok()) {
        // Without the drive map the result file's DOS path leads nowhere.
        printSummary(QStringLiteral("cmail: ") + loaded.cause() + QStringLiteral(" Kein Ergebnis geschrieben."));
        return badArguments;
    }
    const Settings& settings = loaded.value();
    FileSystem fileSystem(PathResolver::fromSettings(settings));
    if (request.results.isEmpty()) {
        printSummary(QStringLiteral("cmail: -results: fehlt, kein Ergebnis geschrieben; ") + parsed.errors.join("; "));
        return badArguments;
    }
    ResultFile resultFile(fileSystem, request.results, secret);
    // Nothing goes out unless its result can be written afterwards.
    if (const Result<> reserved = resultFile.reserve(); !reserved) {
        printSummary(QStringLiteral("cmail: Ergebnisdatei %1 nicht anzulegen (%2); nichts gesendet")
                         .arg(request.results, reserved.cause()));
        return failure;
    }
    Progress progress(startingReport(request));
    // From here on a result is written in time, whatever hangs: reading a huge
    // attachment from a slow share counts against the budget too.
    Watchdog watchdog(budget.start() + TimeBudget::hardLimit, [&] {
        SendReport late = progress.snapshot();
        if (!late.accepted) {
            late.deliveryUncertain = late.step == QLatin1String(step::dataEnd);
            late.message =
                late.deliveryUncertain
                    ? QStringLiteral("Zustellung ungewiss: keine Antwort auf das Ende der Daten im Zeitbudget")
                    : QStringLiteral("Zeitbudget überschritten beim Schritt ") + late.step;
        }
        return finish(resultFile, late, secret, late.accepted ? accepted : failure);
    });
    const auto failBeforeSending = [&](const char* failedStep, const QString& why, int status) {
        progress.update([&](SendReport& r) {
            r.step = QLatin1String(failedStep);
            r.message = why;
        });
        return finish(resultFile, progress.snapshot(), secret, status);
    };

    if (!parsed.ok())
        return failBeforeSending(step::arguments,
                                 QStringLiteral("Ungültige Argumente: ") + parsed.errors.join(QStringLiteral("; ")),
                                 badArguments);

    Attachment attachment;
    if (!request.attachment.isEmpty()) {
        const QString error = loadAttachment(fileSystem, request.attachment, attachment);
        if (!error.isEmpty()) return failBeforeSending(step::attachment, error, failure);
    }

    BuiltMessage message;
    try {
        const std::string messageId = newMessageId(request.from);
        progress.update([&](SendReport& r) { r.messageId = messageId; });
        message = buildMessage(request, request.attachment.isEmpty() ? nullptr : &attachment,
                               QDateTime::currentDateTime(), messageId);
    } catch (const std::exception& e) {
        return failBeforeSending(step::arguments,
                                 QStringLiteral("Mail nicht aufgebaut: ") + QString::fromUtf8(e.what()), badArguments);
    }

    installEhloName();
    installPlainInitialResponse();
    SmtpSession session(request, settings.caFile, budget, progress);
    session.send(message);
    const SendReport outcome = progress.snapshot();
    const int status = finish(resultFile, outcome, secret, outcome.accepted ? accepted : failure);
    session.close();
    return status;
}

}  // namespace

}  // namespace sendwerk::cmail

int main(int argc, char** argv) {
    // Before anything else, the password leaves the argument memory that the process
    // list shows (/proc/PID/cmdline, ps) to every local user. It stood there from the
    // start until here, so this narrows the window; it does not close it.
    std::vector<QByteArray> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
        const sendwerk::cmail::ByteSpan secret = sendwerk::cmail::passwordSpan(arguments.back());
        std::memset(argv[i] + secret.start, '*', size_t(secret.length));
    }
    if (sendwerk::answersHelpOrVersion(argc, argv, "cmail", sendwerk::cmail::usage)) return 0;
    // A file size limit must show as a write error that cmail reports, not end it.
    std::signal(SIGXFSZ, SIG_IGN);
    return sendwerk::cmail::run(arguments);
}
