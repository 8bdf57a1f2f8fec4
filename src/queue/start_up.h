// The start-up checks that need no window: the central settings table (work area 9,
// through DBaufmachen) gives the data root and the printing mode, the central server
// must be reachable, a second copy of the program is refused (single-instance test on
// the send log file), and the send log is created when missing and opened in work area
// 28 for the whole run. Problems are shown through the message box callback with the
// office's texts. Called once, from the GUI thread or the headless command, before any
// send run.
#pragma once

#include "queue/screen.h"
#include "tables/open_with_retry.h"

namespace sendwerk {

struct Shared;
struct QueueContext;

struct StartUpDialogs {
    MessageBox message;
    TableOpenDialogs tableOpen;
};

inline constexpr int kSettingsTableArea = 9;

// Only the first step: the data root and printing mode from the settings table, which
// is opened shared and closed again. Writes nothing, so the headless command's looks
// into the queue (listing, dry run) can run beside the window.
void readDataRoot(Shared& shared, QueueContext& context, const TableOpenDialogs& dialogs);

// True: go on with the program. False: the program must end (the message was shown).
bool startUpChecks(Shared& shared, QueueContext& context, const StartUpDialogs& dialogs);

}  // namespace sendwerk
