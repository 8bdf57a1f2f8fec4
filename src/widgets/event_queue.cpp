#include "widgets/event_queue.h"

#include "widgets/key_codes.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMutexLocker>
#include <QWidget>

#include <stdexcept>

namespace sendwerk {
namespace {

// Posted to the queue object itself so that a waiting nextEvent() wakes up.
const QEvent::Type kWakeUp = QEvent::Type(QEvent::registerEventType());

bool isHeldInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::Wheel:
    case QEvent::ContextMenu: return true;
    default: return false;
    }
}

// The number and parameters of a held-back Qt event.
Event describe(QObject* target, const QEvent& e) {
    Event out;
    out.target = target;
    switch (e.type()) {
    case QEvent::KeyPress:
        out.number = event::Keyboard;
        out.mp1 = keyCodeFor(static_cast<const QKeyEvent&>(e));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<const QMouseEvent&>(e).button() == Qt::LeftButton) out.number = event::LeftButtonDown;
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<const QMouseEvent&>(e).button() == Qt::LeftButton) out.number = event::LeftClick;
        break;
    case QEvent::MouseMove: {
        const QPoint p = static_cast<const QMouseEvent&>(e).position().toPoint();
        out.number = event::MouseMove;
        out.mp1 = p.x();
        out.mp2 = p.y();
        break;
    }
    case QEvent::Enter:
    case QEvent::Leave: out.number = event::MouseMove; break;
    default: break;
    }
    return out;
}

}  // namespace

bool Event::isFor(const QObject* widget) const {
    for (const QObject* o = target.data(); o != nullptr; o = o->parent())
        if (o == widget) return true;
    return false;
}

EventQueue::EventQueue() {
    if (QCoreApplication::instance() == nullptr)
        throw std::logic_error("src/widgets/event_queue.cpp: the event queue needs the QApplication made first");
    QCoreApplication::instance()->installEventFilter(this);
}

EventQueue::~EventQueue() {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
}

void EventQueue::postEvent(int number, qint64 mp1, qint64 mp2, QObject* target) {
    Event e;
    e.number = number;
    e.mp1 = mp1;
    e.mp2 = mp2;
    e.target = target;
    enqueue(std::move(e));
}

void EventQueue::enqueue(Event e) {
    {
        QMutexLocker lock(&mutex_);
        queue_.push_back(std::move(e));
    }
    // Thread-safe; wakes the GUI thread out of its wait.
    QCoreApplication::postEvent(this, new QEvent(kWakeUp));
}

bool EventQueue::takeEvent(Event& out) {
    QMutexLocker lock(&mutex_);
    if (queue_.empty()) return false;
    out = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

bool EventQueue::isEmpty() const {
    QMutexLocker lock(&mutex_);
    return queue_.empty();
}

Event EventQueue::nextEvent() {
    Event e;
    while (!takeEvent(e)) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return e;
}

void EventQueue::keepPainting() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void EventQueue::handEvent(const Event& e) {
    if (e.target.isNull()) {
        if (e.number == event::Keyboard && !e.native) deliverKey(e);
        return;
    }
    if (e.native) {
        deliver(e.target.data(), e.native.get());
        return;
    }
    if (e.number == event::Keyboard) {
        deliverKey(e);
    } else if (e.number == event::Activate) {
        if (auto* button = qobject_cast<QAbstractButton*>(e.target.data())) button->click();
    }
}

void EventQueue::deliverKey(const Event& e) {
    QObject* target = e.target.data();
    if (target == nullptr || !target->isWidgetType()) target = QApplication::focusWidget();
    if (target == nullptr) return;
    const QtKeyStroke stroke = qtKeyFor(int(e.mp1));
    QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
    QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
    QPointer<QObject> guard(target);
    deliver(target, &press);
    if (!guard.isNull()) deliver(target, &release);
}

void EventQueue::deliver(QObject* target, QEvent* e) {
    delivering_.push_back({e, target});
    QCoreApplication::sendEvent(target, e);
    delivering_.pop_back();
}

bool EventQueue::isBeingDelivered(QObject* watched, const QEvent* e) const {
    for (const Delivery& d : delivering_) {
        if (d.event == e) return true;
        // Qt hands an unaccepted mouse, wheel or context-menu event on to the parents as
        // a fresh copy; the copy keeps type and time stamp.
        if (!d.event->isInputEvent() || !e->isInputEvent() || d.event->type() != e->type()) continue;
        const auto* held = static_cast<const QInputEvent*>(d.event);
        const auto* copy = static_cast<const QInputEvent*>(e);
        if (held->timestamp() != copy->timestamp()) continue;
        for (const QObject* o = d.target.data(); o != nullptr; o = o->parent())
            if (o == watched) return true;
    }
    return false;
}

bool EventQueue::event(QEvent* e) {
    if (e->type() == kWakeUp) return true;
    return QObject::event(e);
}

bool EventQueue::eventFilter(QObject* watched, QEvent* e) {
    if (passing_ > 0 || !watched->isWidgetType()) return false;
    if (static_cast<QWidget*>(watched)->window()->windowType() == Qt::Popup) return false;
    if (isBeingDelivered(watched, e)) return false;

    const QEvent::Type type = e->type();
    if (type == QEvent::ShortcutOverride) {
        // Claim the key for the widget, so no shortcut fires before a loop has seen it;
        // the key press that follows is held back like any other.
        e->accept();
        return true;
    }
    if (!isHeldInput(type)) return false;

    Event held = describe(watched, *e);
    held.native.reset(e->clone());
    enqueue(std::move(held));
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
    return true;
}

}  // namespace sendwerk
