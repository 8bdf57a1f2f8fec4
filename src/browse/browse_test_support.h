// Helpers of the browser's window tests: driving input through the application event
// queue as the window's loop does, and waiting (bounded) for the focus.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>

#include "widgets/event_queue.h"

namespace sendwerk::testing {

// Takes and hands on every queued event, as a loop of the program does.
inline void handAll(EventQueue& queue) {
    Event e;
    while (queue.takeEvent(e)) queue.handEvent(e);
}

// A key code posted to `target` (the focus widget when null) and handed on.
inline void press(EventQueue& queue, int code, QObject* target = nullptr) {
    queue.postEvent(event::Keyboard, code, 0, target);
    handAll(queue);
}

// Shows `window`, makes it the active one and waits until `widget` has the focus.
inline bool focusIn(QWidget& window, QWidget& widget) {
    window.show();
    widget.show();
    window.activateWindow();
    widget.setFocus();
    const QDeadlineTimer deadline(5000);
    while (QApplication::focusWidget() != &widget && !deadline.hasExpired()) QCoreApplication::processEvents();
    return QApplication::focusWidget() == &widget;
}

}  // namespace sendwerk::testing
