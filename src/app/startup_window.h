// The start-up window shown while the program checks its environment: title
// "TAVO-Mail - S T A R T E T ...", 300 × 100 pixels at (250 × nH, 250 × nV) from the
// desktop's bottom-left corner, background colour 11, no contents, no minimise or
// maximise button. GUI thread only.
#pragma once

#include <memory>

class QWidget;

namespace sendwerk {

struct Shared;

std::unique_ptr<QWidget> showStartupWindow(const Shared& shared);

}  // namespace sendwerk
