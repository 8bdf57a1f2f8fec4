// Continuous mode on the main window: the send start shown on a click of the send
// button (the click rule), the timed send run of a timer tick (the timer rule), and
// the timer that posts the tick every 120 seconds from the latest window build.
// GUI thread only, except that the timer's action runs on the timer thread and only
// posts into the event queue.
#pragma once

#include <chrono>

namespace sendwerk {

class EventQueue;
class MainActions;
class MainWindow;
class TickTimer;
struct Shared;

inline constexpr std::chrono::seconds kTimerPeriod{120};

// Send button background 5 and the title with "nächste Sendung um: " + cNextSenden.
void announceSendStart(Shared& shared, MainWindow& window);

// Background 5, the tone, Senden(), background 6, the retry buttons by the panes'
// texts, the title with "nächste Sendung: " + cNextSenden (as taken with the tick).
void timedSendRun(Shared& shared, MainWindow& window, MainActions& actions);

// (Re)starts the one timer: from now on a tick every kTimerPeriod.
void startSendTimer(TickTimer& timer, EventQueue& events);

}  // namespace sendwerk
