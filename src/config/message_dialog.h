// Modaldialog_ml: a longer message in a window of its own, a text pane the operator may
// edit and an "OK" button. Modal form: runs its own loop on the application event queue
// until "OK" (or the close box, taken as "OK") and returns the pane's text; every other
// window takes no input meanwhile, timer ticks taken here have no effect. Non-modal
// form: shows the message for 10 seconds through the clock's pause and returns the
// message. Either way the result has no leading blanks and the focus goes back to the
// part that had it. GUI thread only.
#pragma once

#include <QString>

#include "config/dialog_window.h"
#include "queue/screen.h"

class QWidget;

namespace sendwerk {

QString Modaldialog_ml(DialogEnvironment env, QString cString, const QString& cTitle, QWidget* oDlg1, int nXsize,
                       int nYsize, bool lModal = false);

// The send run's message dialog (queue/screen.h): modal, over `owner`.
MessageDialog messageDialogFor(DialogEnvironment env, QWidget* owner);

}  // namespace sendwerk
