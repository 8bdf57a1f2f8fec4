// The command line of sendwerk-senden: what to do (one send run, a listing of the queue,
// a dry run, a requeue, help, version) and how much to print. Anything it does not know
// is refused with a German reason, so nothing is sent on a typing mistake.
#pragma once

#include <QString>
#include <QStringList>

#include "queue/folders.h"

namespace sendwerk::senden {

enum class Task { Send, List, DryRun, Requeue, Help, Version };
enum class Output { OrderLines, Panes, Quiet };

struct Options {
    Task task = Task::Send;
    Output output = Output::OrderLines;
    Folder requeueFrom = Folder::Failure;  // only for Task::Requeue
    QString refused;                       // why the command line was refused; empty when usable
};

// `arguments` excludes the program name.
Options parseOptions(const QStringList& arguments);

extern const char* const kUsage;

}  // namespace sendwerk::senden
