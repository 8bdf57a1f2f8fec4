// The small desktop dialogs of start-up: the message box with one confirm button, the
// Yes/No box and the key wait of the table-open retry, and the end of the program that
// the retry asks for. Qt's boxes run their own loop, so input passes straight to them
// while they are open. GUI thread only.
#pragma once

#include "queue/screen.h"
#include "tables/open_with_retry.h"

namespace sendwerk {

class Clock;
class EventQueue;

MessageBox messageBoxOn(EventQueue& events);
TableOpenDialogs tableOpenDialogsOn(EventQueue& events, Clock& clock);

}  // namespace sendwerk
