// For the end-to-end test: when the environment variable SENDWERK_PANE_DUMP names a
// file, the orderly end of the main window writes the five panes' texts there (UTF-8,
// one "== name" heading line before each text). Without the variable nothing is
// written. GUI thread only.
#pragma once

namespace sendwerk {

class MainWindow;

void dumpPanesIfAsked(const MainWindow& window);

}  // namespace sendwerk
