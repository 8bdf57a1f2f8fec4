// The application event queue: every event the office's loops take (the main window,
// the message dialog, the text editor, the browser) comes from here, in arrival order.
//
// An event is (number, mp1, mp2, target). Native input to any widget (keys, mouse
// buttons and motion, pointer enter/leave, wheel, context menu) is caught by an
// application-wide event filter, turned into an event and queued; the widget sees nothing until a loop hands the event
// on with handEvent(), which re-delivers the native event. So while nobody takes events (a send run, a waited-for
// program) input waits, in order, and windows keep painting. Posted events (timer tick, quit, a posted Alt+L or Enter,
// activate) join the same queue.
//
// Thread use: postEvent() may be called from any thread (the timer thread posts its
// tick). Everything else belongs to the GUI thread. One instance per application,
// owned by the shell; it installs its filter on construction and removes it on
// destruction. Needs a QApplication.
#pragma once

#include <QEvent>
#include <QMutex>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace sendwerk {

namespace event {
// Native input that has no number of its own (key release, right button, wheel ...):
// the loops hand it on without looking at it.
inline constexpr int NativeInput = 0;
inline constexpr int Keyboard = 1048580;  // mp1: the key code (key_codes.h)
inline constexpr int LeftButtonDown = 1048583;
inline constexpr int LeftClick = 1048589;  // the left button released
inline constexpr int MouseMove = 1048598;  // also pointer enter and leave
inline constexpr int Activate = 1048609;   // handed on: the target button is pushed
inline constexpr int Quit = 1048632;
inline constexpr int TimerTick = 134217728;
// A window's close box, posted by the window itself: Qt reports the close box and a
// programmatic close() alike, so the queue cannot hold it back on its own. A window
// that wants its close box taken in order ignores the QCloseEvent and posts this.
inline constexpr int CloseRequest = 1048636;
}  // namespace event

struct Event {
    int number = event::NativeInput;
    qint64 mp1 = 0;
    qint64 mp2 = 0;
    QPointer<QObject> target;        // null once the part is gone, or when posted without one
    std::shared_ptr<QEvent> native;  // the held-back Qt event; null for posted events

    bool isInput() const { return native != nullptr; }
    // True when the target is `widget` or lies inside it.
    bool isFor(const QObject* widget) const;
};

class EventQueue final : public QObject {
public:
    EventQueue();
    ~EventQueue() override;
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // Any thread. Wakes a waiting nextEvent().
    void postEvent(int number, qint64 mp1, qint64 mp2, QObject* target);

    // Waits without a time limit for the next event; Qt keeps painting and serving its
    // timers meanwhile.
    Event nextEvent();
    // The next event if one is queued, without waiting.
    bool takeEvent(Event& out);
    bool isEmpty() const;

    // Hands an event to its window part. Native input is re-delivered as it came. A
    // posted keyboard event becomes a key press (and release) on the target, or on the
    // focus widget when it has no widget as target. A posted activate event clicks the
    // target when it is a push button. Other posted events (tick, quit) have no effect
    // when handed on. Native input whose widget is gone is dropped.
    void handEvent(const Event& e);

    // The idle hook of a pause: windows repaint and Qt's own timers and posted events
    // run; input stays queued. Fits RealClock::setIdleHook.
    void keepPainting();
    std::function<void()> idleHook() {
        return [this] { keepPainting(); };
    }

    // Runs a popup that takes its input in a loop of its own (QMenu::exec(), a message
    // box): while `show` runs, native input goes straight to the widgets, so the popup can
    // be used and is never left waiting for a loop that is not running; input held back
    // before stays queued, in order. Returns what `show` returns. Input to a popup
    // window (a menu) always passes: it grabs the input, and no loop of ours hands it on.
    template <typename Show>
    auto runPopup(Show&& show) {
        PassInput pass(*this);
        return show();
    }

    // While a PassInput lives, native input goes straight to the widgets. Nests.
    class PassInput {
    public:
        explicit PassInput(EventQueue& queue) : queue_(queue) { ++queue_.passing_; }
        ~PassInput() { --queue_.passing_; }
        PassInput(const PassInput&) = delete;
        PassInput& operator=(const PassInput&) = delete;

    private:
        EventQueue& queue_;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;

private:
    void enqueue(Event e);
    void deliverKey(const Event& e);
    void deliver(QObject* target, QEvent* e);
    bool isBeingDelivered(QObject* watched, const QEvent* e) const;

    struct Delivery {
        const QEvent* event;
        QPointer<QObject> target;
    };

    mutable QMutex mutex_;
    std::deque<Event> queue_;           // guarded by mutex_
    std::vector<Delivery> delivering_;  // innermost last
    int passing_ = 0;
};

}  // namespace sendwerk
