// The event loop of the main window: takes each event from the application event
// queue, recomputes `cNextSenden`, applies the mouse and timer rules (the emergency
// stop, the folder indicators under the pointer, the send start of a click, the timed
// send run) and then the keyboard commands (Esc, Alt+F4, F1, Ctrl+E, Alt+H, Alt+L …),
// then hands the event to its
// window part. It ends when it takes the quit event. Commands run to their end before
// the next event is taken, so input that arrives meanwhile waits in order.
// GUI thread only; the window, the shared state and the actions must outlive it.
#pragma once

#include <functional>

namespace sendwerk {

class Clock;
class EventQueue;
class MainActions;
class MainWindow;
struct Event;
struct Shared;

class MainLoop {
public:
    // `afterEvent` runs after each handed-on event (Main rethrows there what an event
    // handler raised); may be empty.
    MainLoop(Shared& shared, MainWindow& window, EventQueue& events, MainActions& actions, const Clock& clock,
             std::function<void()> afterEvent = {});

    // Runs until the quit event has been taken.
    void run();

private:
    enum class Next { HandOn, Skip };

    Next applyMouseAndTimerRules(const Event& e);
    void applyKeyCommand(int keyCode);
    void openMarkedOrder(int keyCode);

    Shared& shared_;
    MainWindow& window_;
    EventQueue& events_;
    MainActions& actions_;
    const Clock& clock_;
    std::function<void()> afterEvent_;
};

}  // namespace sendwerk
