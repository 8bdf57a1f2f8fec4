// The retry of the failure or quarantine folder: every order file there goes back into
// the outbox for the next send run. A file whose copy into the outbox fails stays in
// its folder (nothing is erased after a failed copy) and is named in the outbox pane.
// Called from the GUI thread (retry buttons); the outbox, failure and quarantine panes
// and both retry buttons of `Shared` must be attached.
#pragma once

namespace sendwerk {

struct Shared;
struct QueueContext;

// nFQ 0: failure folder; any other value (the quarantine button passes 2): quarantine.
bool Wiederholen(Shared& shared, QueueContext& context, int nFQ = 0);

}  // namespace sendwerk
