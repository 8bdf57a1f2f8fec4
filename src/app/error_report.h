// The default error report: a runtime error that the program does not handle itself
// is shown to the operator in a German message box that names it, and then the
// program ends in order (all tables committed and closed), never half-way.
//
// Qt does not let exceptions pass through its event delivery, so GuardedApplication
// catches what an event handler throws (a button's activation running a send run, for
// instance), keeps the first one and lets the event loop throw it again on its own
// stack, where the report catches it. GUI thread only.
#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

#include "queue/screen.h"

namespace sendwerk {

class GuardedApplication final : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
    // Throws the first error an event handler raised since the last call, if any.
    void rethrowPending();

private:
    std::exception_ptr pending_;
};

// The message of the report for an error.
QString errorReportText(const std::exception_ptr& error);

// Runs `body`; when it throws, shows the report through `show`, then runs `endInOrder`.
// Returns the process exit status: 0 after a normal end, 1 after a report.
int runWithErrorReport(const std::function<void()>& body, const MessageBox& show,
                       const std::function<void()>& endInOrder);

}  // namespace sendwerk
