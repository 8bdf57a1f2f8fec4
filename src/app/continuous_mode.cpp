#include "app/continuous_mode.h"

#include "app/main_actions.h"
#include "app/main_window.h"
#include "app/send_schedule.h"
#include "app/tick_timer.h"
#include "queue/colour_numbers.h"
#include "queue/shared.h"
#include "widgets/event_queue.h"
#include "widgets/magic_button.h"
#include "widgets/text_pane.h"

namespace sendwerk {

namespace {

int indicatorFor(TextPane& pane) {
    return pane.data().contains(QStringLiteral(".ausg")) ? kFolderIndicator : kButtonDefaultColour;
}

}  // namespace

void announceSendStart(Shared& shared, MainWindow& window) {
    window.oXbpBS->setColorBG(kSendingColour);
    window.setWindowTitle(titleAfterClick(shared.cNextSenden));
}

void timedSendRun(Shared& shared, MainWindow& window, MainActions& actions) {
    const QString announced = shared.cNextSenden;
    window.oXbpBS->setColorBG(kSendingColour);
    actions.tone();
    actions.senden();
    window.oXbpBS->setColorBG(kSentColour);
    window.oXbpBW1->setColorBG(indicatorFor(*window.oMle2));
    window.oXbpBW2->setColorBG(indicatorFor(*window.oMle3));
    window.setWindowTitle(titleAfterTimedRun(announced));
}

void startSendTimer(TickTimer& timer, EventQueue& events) {
    timer.start(kTimerPeriod, [&events] { events.postEvent(event::TimerTick, 0, 0, nullptr); });
}

}  // namespace sendwerk
