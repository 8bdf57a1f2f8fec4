// The screen of the headless send command: the five report panes and the buttons in
// memory, every pane change printed to stdout (a header line naming the pane, then its
// text), and the message dialog printed the same way. Line breaks are printed as the
// terminal's "\n". Owned by main(); single-threaded.
#pragma once

#include <QString>

#include <cstdio>

#include "queue/screen.h"

namespace sendwerk {

class ConsoleScreen {
public:
    explicit ConsoleScreen(std::FILE* out);

    // The panes and buttons to attach to `Shared`.
    ScreenParts parts() { return screen_.parts(); }
    // The message dialog: printed like a pane.
    MessageDialog messageDialog();

private:
    void print(const QString& header, const QString& text) const;
    void watch(MemoryPane& pane, const char* name);

    std::FILE* out_;
    MemoryScreen screen_;
};

}  // namespace sendwerk
