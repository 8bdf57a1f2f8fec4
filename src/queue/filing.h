// Files one recipient's outcome: moves or copies the order's files into the archive,
// the failure or the quarantine folder, marks the panes and the retry buttons, and
// appends the send log record.
//
// Guarantee: a source is erased only after its copy succeeded; when a copy fails the
// file stays where it was, the recipient's outbox pane line carries " - Ablagefehler!"
// with the cause, and the run goes on. For a list the order file leaves the outbox only
// with the last recipient, and only when every copy of it succeeded. Without an
// attachment (empty path or missing file) the archive copy of it is skipped.
// GUI thread; panes and retry buttons of `Shared` must be attached.
#pragma once

#include <QByteArray>

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

// `names` carry the recipient suffix for list recipients.
void fileOutcome(Shared& shared, QueueContext& context, FilingOutcome outcome, const OrderNames& names,
                 ListPosition position, const Recipient& recipient, const QByteArray& cMail_Anhang,
                 OrderFilingState& state);

// The outbox mark of an order that cannot be handled (unusable name, empty or
// unreadable file): the order stays in the outbox, nothing is logged.
inline const char* const kMarkUnusableName = " - Dateiname?";
inline const char* const kMarkEmptyFile = " - Datei ohne Inhalt!";
inline const char* const kMarkUnreadable = " - nicht lesbar!";
inline const char* const kMarkFilingFault = " - Ablagefehler!";

}  // namespace sendwerk
