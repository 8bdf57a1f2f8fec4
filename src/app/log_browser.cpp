#include "app/log_browser.h"

#include "queue/send_log.h"
#include "queue/shared.h"
#include "widgets/event_queue.h"

namespace sendwerk {

namespace {

void endInOrder(Shared& shared, EventQueue& events) {
    shared.nDauerlauf = 0;
    shared.nBeenden = 1;
    events.postEvent(event::Quit, 0, 0, nullptr);
}

}  // namespace

void showSendLog(Shared& shared, BrowserContext& context, const MessageBox& message) {
    const Result<void> shown = EditBrowX(context, sendLogFile(shared.cDatver));
    if (!shown) {
        if (message) message(shown.cause());
        endInOrder(shared, context.events);
        return;
    }
    if (shared.nBeenden == 1) endInOrder(shared, context.events);
}

}  // namespace sendwerk
