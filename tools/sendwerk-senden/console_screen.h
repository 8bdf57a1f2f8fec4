// The screen of the headless send command: the five report panes and the buttons in
// memory. With --panes every pane change is printed (a header line naming the pane, then
// its text); the message dialog is always printed, on the error stream, because it
// only comes up when a run went wrong. Line breaks are printed as the terminal's "\n".
// Owned by main(); single-threaded.
#pragma once

#include <QString>

#include <cstdio>

#include "queue/screen.h"

namespace sendwerk {

class ConsoleScreen {
public:
    // `panes` receives the pane changes; nullptr prints none. `dialogs` the message dialog.
    ConsoleScreen(std::FILE* panes, std::FILE* dialogs);

    // The panes and buttons to attach to `Shared`.
    ScreenParts parts() { return screen_.parts(); }
    // The outbox pane's text as it stands, for a run's message when nothing was sent.
    QString outboxText() { return screen_.outboxPane.data(); }
    // The message dialog: printed like a pane.
    MessageDialog messageDialog();

private:
    static void print(std::FILE* to, const QString& header, const QString& text);
    void watch(MemoryPane& pane, const char* name);

    std::FILE* panes_;
    std::FILE* dialogs_;
    MemoryScreen screen_;
};

}  // namespace sendwerk
