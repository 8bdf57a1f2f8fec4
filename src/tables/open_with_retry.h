// Opening a table that another workstation may hold: `Net_use` tries a bounded number
// of times with a one-second pause (a key stroke cuts it short); `DBaufmachen` resolves
// the name against the data root, keeps asking the user whether to go on trying, and
// attaches the index once the table is open.
//
// Only the "table in use" outcome of the engine is retried. Any other failure (missing
// file, bad header, missing index, unmapped drive) is a dbf::DbfError that passes
// through to the default error report. Called from the GUI thread during start-up; the
// pauses block the caller.
#pragma once

#include <QString>

#include <functional>
#include <optional>

#include "dbf/work_areas.h"

namespace sendwerk {

// Thrown by a program's `endProgram` (below) to end the program at once: it unwinds to
// main(), which leaves without writing or closing anything further.
struct EndOfProgram {};

// What the retry needs from the program around it. The window and the headless
// command plug in their own; tests record the calls.
struct TableOpenDialogs {
    // A Yes/No confirmation box with a question icon, owned by the application window.
    // True for Yes.
    std::function<bool(const QString& message, const QString& title)> askYesNo;
    // Waits `seconds`, or less when a key is struck meanwhile.
    std::function<void(double seconds)> waitForKey;
    // Ends the program at once, without further messages and without writing anything.
    // It must not return: throw EndOfProgram. Should it return all the same,
    // DBaufmachen throws std::logic_error rather than carry on unopened.
    std::function<void()> endProgram;
};

// Opens `file` in the selected work area of `areas`; `wait` attempts, 0 meaning without
// end, a negative number none at all. True once the table is open.
bool Net_use(dbf::WorkAreas& areas, const QString& file, bool ex_use, int wait, const TableOpenDialogs& dialogs);

// Opens table `dat` (with index `ind` when given) in the selected work area; exclusive
// when `schalt` is exactly "E", shared otherwise. Names without a drive letter are put
// below `cDatver`; names starting with "MWSTDAT" always mean "C:\ZUMA\MWSTDAT".
// Returns 0 once the table is open; when the user gives up, `dialogs.endProgram` runs.
int DBaufmachen(dbf::WorkAreas& areas, const QString& dat, const std::optional<QString>& ind, const QString& schalt,
                const QString& cDatver, const TableOpenDialogs& dialogs);

}  // namespace sendwerk
