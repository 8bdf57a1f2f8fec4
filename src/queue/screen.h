// What the mail queue may touch of the screen: report panes, button colours, the
// message dialog and the tone. The main window implements these with real widgets;
// the headless command and the tests with in-memory ones. The queue never includes a
// widget header.
#pragma once

#include <QString>

#include <functional>

#include "queue/colour_numbers.h"

namespace sendwerk {

// A report pane. Its text is Unicode with CR LF line breaks: file names come from the
// listing as they are, order texts (Windows-1252) are decoded where they are shown.
// Reading it is not const: a window's pane that is bound to a variable of its owner
// stores the text it returns there (its data link), as the office's panes do.
class Pane {
public:
    virtual ~Pane() = default;
    virtual void setData(const QString& text) = 0;
    virtual QString data() = 0;
};

// A button whose background shows a colour number of the 16-colour palette.
class Button {
public:
    virtual ~Button() = default;
    virtual void setColorBG(int colour) = 0;
    virtual int colorBG() const = 0;
};

// Shows the modal message dialog (text, title, width, height) and returns when the
// operator has closed it.
using MessageDialog = std::function<void(const QString& text, const QString& title, int width, int height)>;

// Shows a message box with one confirm button (start-up problems).
using MessageBox = std::function<void(const QString& text)>;

// Sounds the tone of `hertz` for about `seconds`.
using Tone = std::function<void(int hertz, double seconds)>;

// In-memory versions, for the headless command and the tests.
class MemoryPane final : public Pane {
public:
    void setData(const QString& text) override;
    QString data() override { return text_; }
    // Called after every setData(); the headless command prints from here.
    std::function<void(const QString&)> onChange;

private:
    QString text_;
};

class MemoryButton final : public Button {
public:
    void setColorBG(int colour) override { colour_ = colour; }
    int colorBG() const override { return colour_; }

private:
    int colour_ = 0;
};

// The parts of the screen that the queue writes to: the five report panes and the seven
// buttons of the main window. Borrowed pointers, null until a screen is attached; a
// screen is attached or detached as a whole (`shared.screen = window.screenParts()`).
struct ScreenParts {
    Pane* oMle1 = nullptr;      // the outbox: what is to be sent, and how each order ended
    Pane* oMle2 = nullptr;      // the failure folder
    Pane* oMle3 = nullptr;      // the quarantine folder
    Pane* oMle20 = nullptr;     // the orders of the run still to be sent
    Pane* oMle30 = nullptr;     // the mail being sent now
    Button* oXbpBS = nullptr;   // send
    Button* oXbpBH = nullptr;   // halt the continuous mode
    Button* oXbpBEn = nullptr;  // end the program in order
    Button* oXbpBW1 = nullptr;  // retry the failure folder
    Button* oXbpBW2 = nullptr;  // retry the quarantine folder
    Button* oXbpBna = nullptr;  // emergency stop
    Button* oXbpBlb = nullptr;  // the send log
};

// A whole screen in memory, for the headless command and the tests.
struct MemoryScreen {
    MemoryPane outboxPane, failurePane, quarantinePane, pendingPane, currentPane;
    MemoryButton sendButton, haltButton, endButton, retryFailureButton, retryQuarantineButton, stopButton, logButton;

    ScreenParts parts();
};

}  // namespace sendwerk
