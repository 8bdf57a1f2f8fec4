#include "app/desktop_dialogs.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/clock.h"
#include "widgets/event_queue.h"

namespace sendwerk {

namespace {

const QString kBoxTitle = QStringLiteral("TAVO-Mail");

// Waits up to `seconds`, ending early on a key stroke (which is used up); other input
// that arrives meanwhile goes on to its window part.
void waitForKey(EventQueue& events, Clock& clock, double seconds) {
    constexpr double step = 0.05;
    for (double waited = 0; waited < seconds; waited += step) {
        Event e;
        while (events.takeEvent(e)) {
            if (e.number == event::Keyboard) return;
            events.handEvent(e);
        }
        clock.pause(step);
    }
}

}  // namespace

MessageBox messageBoxOn(EventQueue& events) {
    return [&events](const QString& text) {
        events.runPopup(
            [&] { QMessageBox::information(QApplication::activeWindow(), kBoxTitle, text, QMessageBox::Ok); });
    };
}

TableOpenDialogs tableOpenDialogsOn(EventQueue& events, Clock& clock) {
    TableOpenDialogs dialogs;
    dialogs.askYesNo = [&events](const QString& message, const QString& title) {
        return events.runPopup([&] {
            return QMessageBox::question(QApplication::activeWindow(), title, message,
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        });
    };
    dialogs.waitForKey = [&events, &clock](double seconds) { waitForKey(events, clock, seconds); };
    dialogs.endProgram = [] { throw EndOfProgram{}; };
    return dialogs;
}

}  // namespace sendwerk
