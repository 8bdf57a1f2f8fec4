// The start-up window shown while the program checks its environment: title
// "TAVO-Mail - S T A R T E T ...", 300 × 100 pixels at (250 × nH, 250 × nV) from the
// desktop's bottom-left corner, background colour 11, no contents, no minimise or
// maximise button. Also the choice of the start mode from the modifier keys held when
// it closes. GUI thread only.
#pragma once

#include <Qt>

#include <memory>

class QWidget;

namespace sendwerk {

struct Shared;

std::unique_ptr<QWidget> showStartupWindow(const Shared& shared);

enum class StartMode { Normal, ConnectionData, WhitelistImport, WhitelistEdit };

// Ctrl+Shift, Ctrl+Alt (without Shift), Ctrl alone; without Ctrl the normal start.
StartMode startModeFor(Qt::KeyboardModifiers held);

}  // namespace sendwerk
