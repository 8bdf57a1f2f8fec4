// The send run: works through a snapshot of the outbox once, every recipient through
// the whitelist, the mail client and the filing, and ends with the closing report
// (and the error report mail when failed or quarantined orders wait).
//
// Guarantees: a second call while a run is in progress changes nothing (RunEnd::Busy);
// no order file is erased unless its copy has safely been made; an order that
// cannot be handled stays in the outbox with a mark on its outbox pane line.
// Called from the GUI thread (send button, timer tick) or the headless command. The
// panes and the send and halt buttons of `Shared` must be attached.
#pragma once

#include <QStringList>

#include "queue/connection_data.h"

namespace sendwerk {

struct Shared;
struct QueueContext;

// How a send run ended.
enum class RunEnd {
    Completed,         // the outbox was worked off: each order sent, failed or quarantined
    NoAnswer,          // the mail client did not answer: the run stopped at that order
    NoClient,          // the mail client is missing or cannot be started: stopped there too
    NoConnectionData,  // the connection data are incomplete: nothing was sent
    EmptyOutbox,       // the outbox held no order
    Busy,              // a run was already in progress: nothing was changed
};

// One send run.
RunEnd Senden(Shared& shared, QueueContext& context);

// The order loop over `aDirAusgang` (file names of the outbox, handled from the front
// and removed when done). Completed when the list was worked off; NoAnswer or NoClient
// when the mail client gave no answer or could not be started (the order in progress
// and all later ones stay in the list).
RunEnd Mails_Senden(Shared& shared, QueueContext& context, const ConnectionData& aLines, QStringList& aDirAusgang);

}  // namespace sendwerk
