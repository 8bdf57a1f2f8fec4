// Modaldialog_ml: a longer message in a window of its own, a text pane the operator may
// edit and an "OK" button. Modal form: runs its own loop on the application event queue
// until "OK" (or the close box, taken as "OK") and returns the pane's text; every other
// window takes no input meanwhile, timer ticks taken here have no effect. Non-modal
// form: shows the message for 10 seconds through the clock's pause and returns the
// message. Either way the result has no leading blanks and the focus goes back to the
// part that had it. GUI thread only.
#pragma once

#include "platform/clock.h"
#include "queue/screen.h"
#include "widgets/event_queue.h"

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace sendwerk {

// What the dialogs of this folder need from the shell.
struct DialogEnvironment {
    EventQueue& events;
    Clock& clock;
};

// The dialog's layout in y-up pixels of its client area (nXsize x nYsize).
struct MessageDialogLayout {
    double nV = 1;                      // desktop width / 800
    QRect pane;                         // y-up position and size
    QPointF buttonPosition;             // x divided exactly
    QSize buttonSize;
    // Bottom-left corner from the desktop's bottom-left, only for 800 x 600.
    std::optional<QPointF> windowPosition;
};

MessageDialogLayout messageDialogLayout(int desktopWidth, int ownerWidth, int nXsize, int nYsize);

// The title: cTitle, with the save/quit hint when the message contains ".DAT" in any
// letter case.
QString messageDialogTitle(const QString& cString, const QString& cTitle);

QString Modaldialog_ml(DialogEnvironment env, QString cString, const QString& cTitle, QWidget* oDlg1,
                       int nXsize, int nYsize, bool lModal = false);

// The send run's message dialog (queue/screen.h): modal, over `owner`.
MessageDialog messageDialogFor(DialogEnvironment env, QWidget* owner);

}  // namespace sendwerk
