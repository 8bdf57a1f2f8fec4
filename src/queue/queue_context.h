// What a send run, a retry or the start-up checks need besides the shared state: the
// file system, the work areas of the table engine, the clock for the fixed pauses, the
// process starter for the mail client, the message dialog, where the order table
// lives and where error reports go. The caller (window or headless command) builds one and keeps it alive for the
// whole program run; the queue only borrows the references. Not thread-safe.
#pragma once

#include <QString>

#include <functional>

#include "platform/settings.h"
#include "queue/filing.h"
#include "queue/screen.h"

namespace sendwerk {

class FileSystem;
class Clock;
class ProcessStarter;
namespace dbf {
class WorkAreas;
}

struct QueueContext {
    FileSystem& files;
    dbf::WorkAreas& areas;
    Clock& clock;
    ProcessStarter& starter;
    // Shown modally when a send run ends without an answer of the mail client.
    MessageDialog messageDialog;
    // DOS folder of the order table `best` and its index (ending with a backslash);
    // empty means the current folder.
    QString orderTableFolder;
    // Where the error report mails go.
    QString errorReportAddress = QString::fromLatin1(kDefaultErrorReportAddress);
    // Told of each recipient's outcome as it is filed, before the files move (the
    // headless command prints its order lines from here); may be empty.
    std::function<void(const OrderNames& names, ListPosition position, FilingOutcome outcome,
                       const Recipient& recipient)>
        recipientFiled = {};
};

}  // namespace sendwerk
