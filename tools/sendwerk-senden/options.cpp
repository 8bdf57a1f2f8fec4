#include "options.h"

namespace sendwerk::senden {

const char* const kUsage =
    "usage: sendwerk-senden [--panes | --quiet]\n"
    "       sendwerk-senden --list | --dry-run | --requeue failure|quarantine\n"
    "       sendwerk-senden --help | --version\n"
    "One send run over the office's outbox, without a window (see sendwerk-senden(1)).\n"
    "  --list        the outbox, failure and quarantine folders: name, age, size, recipients\n"
    "  --dry-run     the recipient checks and the mail client call of each order; sends,\n"
    "                moves and writes nothing\n"
    "  --requeue F   moves the orders of the failure or quarantine folder back into the outbox\n"
    "  --panes       prints every change of the window's report panes\n"
    "  --quiet       prints only the summary and errors\n"
    "Exit status: 0 all sent, 4 orders failed, quarantined or without address, 5 connection\n"
    "data incomplete, 3 the mail client did not answer, 1 start-up refused, 2 bad arguments\n"
    "or a runtime error.\n";

namespace {

Options refuse(const QString& why) {
    Options refused;
    refused.refused = why;
    return refused;
}

}  // namespace

Options parseOptions(const QStringList& arguments) {
    Options options;
    bool taskGiven = false;
    bool outputGiven = false;
    const auto setTask = [&](Task task) {
        if (taskGiven) return false;
        options.task = task;
        taskGiven = true;
        return true;
    };
    const auto setOutput = [&](Output output) {
        if (outputGiven) return false;
        options.output = output;
        outputGiven = true;
        return true;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        bool fits = true;
        if (a == u"--help")
            fits = setTask(Task::Help);
        else if (a == u"--version")
            fits = setTask(Task::Version);
        else if (a == u"--list")
            fits = setTask(Task::List);
        else if (a == u"--dry-run")
            fits = setTask(Task::DryRun);
        else if (a == u"--panes")
            fits = setOutput(Output::Panes);
        else if (a == u"--quiet")
            fits = setOutput(Output::Quiet);
        else if (a == u"--requeue" || a.startsWith(u"--requeue=")) {
            const QString folder = a.contains(u'=') ? a.section(u'=', 1) : arguments.value(++i);
            if (folder == u"failure")
                options.requeueFrom = Folder::Failure;
            else if (folder == u"quarantine")
                options.requeueFrom = Folder::Quarantine;
            else
                return refuse(QStringLiteral("--requeue braucht failure oder quarantine, nicht \"%1\"").arg(folder));
            fits = setTask(Task::Requeue);
        } else {
            return refuse(QStringLiteral("unbekanntes Argument \"%1\"").arg(a));
        }
        if (!fits) return refuse(QStringLiteral("\"%1\" passt nicht zu den anderen Argumenten").arg(a));
    }
    // The output options shape a send run's report; elsewhere they would be ignored silently.
    if (outputGiven && options.task != Task::Send && options.task != Task::Requeue)
        return refuse(QStringLiteral("--panes und --quiet gelten nur für eine Sende-Runde oder --requeue"));
    return options;
}

}  // namespace sendwerk::senden
