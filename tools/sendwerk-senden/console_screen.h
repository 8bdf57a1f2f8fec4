// The screen of the headless send command: the five report panes and the buttons in
// memory, every pane change printed to stdout (a header line naming the pane, then its
// text), and the message dialog printed the same way. Line breaks are printed as the
// terminal's "\n". Owned by main(); single-threaded.
#pragma once

#include <QString>

#include <cstdio>

#include "queue/screen.h"
#include "queue/shared.h"

namespace sendwerk {

class ConsoleScreen {
public:
    explicit ConsoleScreen(std::FILE* out);

    // Points the panes and buttons of `shared` at this screen.
    void attach(Shared& shared);
    // The message dialog: printed; remembers that it was shown.
    MessageDialog messageDialog();
    bool dialogShown() const { return dialogShown_; }

private:
    void print(const QString& header, const QString& text) const;
    void watch(MemoryPane& pane, const char* name);

    std::FILE* out_;
    MemoryPane outbox_, failure_, quarantine_, pending_, current_;
    MemoryButton send_, halt_, end_, retryFailure_, retryQuarantine_, stop_, log_;
    bool dialogShown_ = false;
};

}  // namespace sendwerk
