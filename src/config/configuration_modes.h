// The start-up configuration modes, chosen by the modifier keys held when the start-up
// window closes: Ctrl+Shift edits the connection data, Ctrl+Alt imports new whitelist
// addresses from the main application's export and edits the whitelist with them
// appended, Ctrl alone edits the whitelist. Each mode opens the text editor once and
// ends with the closing message; the program then ends without its main window. The
// connection data mode saves into the edit copy "CMail\Verbindungs.daten"; the file the
// send run reads, "CMail\Verbindung.dat", stays as it is. GUI thread, during start-up.
#pragma once

#include <QString>
#include <Qt>

namespace sendwerk {

struct EditorEnvironment;

enum class StartMode { Normal, ConnectionData, WhitelistImport, WhitelistEdit };

// Ctrl+Shift, Ctrl+Alt (without Shift), Ctrl alone; without Ctrl the normal start.
StartMode startModeFor(Qt::KeyboardModifiers held);

// Runs `mode` (not Normal) on the data root cDatver, up to and including its last
// message box.
void runConfigurationMode(StartMode mode, const QString& cDatver, const EditorEnvironment& env);

}  // namespace sendwerk
