// Files one recipient's outcome: appends the send log record first (a crash while the
// files move must not lose the history of what was sent), then moves or copies the
// order's files into the archive, the failure or the quarantine folder, and marks the
// panes and the retry buttons.
//
// Guarantee: a source is erased only after its copy succeeded; when a copy fails the
// file stays where it was, the recipient's outbox pane line carries " - Ablagefehler!"
// with the cause, and the run goes on. An order that reached its end and still cannot
// leave the outbox is renamed there to "….ausg.ablagefehler", so no later run sends or
// logs it again; the closing report names it. A record that cannot be written (the log
// stays locked by another program) is named in the outbox pane line. For a list the order file leaves the outbox only
// with the last recipient, and only when every copy of it succeeded. Without an
// attachment (empty path or missing file) the archive copy of it is skipped.
// GUI thread; panes and retry buttons of `Shared` must be attached.
#pragma once

#include <QByteArray>
#include <QString>

#include "queue/order_names.h"

namespace sendwerk {

struct Shared;
struct QueueContext;

enum class FilingOutcome { Quarantine, NoAddress, Failure, Accepted, Neither };

struct Recipient {
    QByteArray written;   // as in the order
    QByteArray resolved;  // after the placeholder lookup
};

// Position of a recipient: n of N for a list, 0 of 0 for a single recipient.
struct ListPosition {
    int n = 0;
    int N = 0;
    bool isList() const { return N > 0; }
};

// What an order's filing remembers from one recipient to the next.
struct OrderFilingState {
    bool orderCopyFailed = false;
};

// `names` carry the recipient suffix for list recipients. `note` goes into the outbox
// pane line after the mark (why the client was not started, say).
void fileOutcome(Shared& shared, QueueContext& context, FilingOutcome outcome, const OrderNames& names,
                 ListPosition position, const Recipient& recipient, const QByteArray& cMail_Anhang,
                 OrderFilingState& state, const QString& note = {});

// The pattern of the orders set aside in the outbox, for the closing report.
QString unfiledPattern(const QString& cDatver);

// The outbox mark of an order that cannot be handled (unusable name, empty or
// unreadable file): the order stays in the outbox, nothing is logged.
inline const char* const kMarkUnusableName = " - Dateiname?";
inline const char* const kMarkEmptyFile = " - Datei ohne Inhalt!";
inline const char* const kMarkUnreadable = " - nicht lesbar!";
// Still being written by the program that makes it: it waits for the next run.
inline const char* const kMarkStillWritten = " - wird noch geschrieben";
inline const char* const kMarkFilingFault = " - Ablagefehler!";

}  // namespace sendwerk
