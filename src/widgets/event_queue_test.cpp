#include "widgets/event_queue.h"

#include "widgets/key_codes.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace sendwerk {
namespace {

// Counts the mouse presses that reach it, so a test can see what was delivered.
class PressCounter final : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        ++presses;
        e->accept();
    }
};

// Takes and hands on every queued event, as a loop of the program does.
void handAll(EventQueue& queue) {
    Event e;
    while (queue.takeEvent(e)) queue.handEvent(e);
}

TEST(EventQueue, PostedEventsComeOutInOrder) {
    EventQueue queue;
    QWidget target;
    queue.postEvent(event::TimerTick, 0, 0, &target);
    queue.postEvent(event::Keyboard, key::AltL, 0, &target);
    queue.postEvent(event::Quit, 0, 0, nullptr);

    const Event first = queue.nextEvent();
    EXPECT_EQ(first.number, event::TimerTick);
    EXPECT_EQ(first.target.data(), &target);
    EXPECT_FALSE(first.isInput());
    const Event second = queue.nextEvent();
    EXPECT_EQ(second.number, event::Keyboard);
    EXPECT_EQ(second.mp1, key::AltL);
    EXPECT_EQ(queue.nextEvent().number, event::Quit);
    EXPECT_TRUE(queue.isEmpty());
}

TEST(EventQueue, TicksPostedFromAnotherThreadArriveAllAndInOrder) {
    EventQueue queue;
    QWidget window;
    constexpr int kTicks = 500;
    std::thread timer([&] {
        for (int i = 0; i < kTicks; ++i) queue.postEvent(event::TimerTick, i, 0, &window);
    });

    int taken = 0;
    bool inOrder = true;
    const QDeadlineTimer deadline(10000);
    while (taken < kTicks && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        Event e;
        while (queue.takeEvent(e)) {
            inOrder = inOrder && e.number == event::TimerTick && e.mp1 == taken;
            ++taken;
        }
    }
    timer.join();
    EXPECT_EQ(taken, kTicks);
    EXPECT_TRUE(inOrder);
}

TEST(EventQueue, TypingWaitsWhileNobodyTakesEventsAndArrivesInOrder) {
    EventQueue queue;
    QLineEdit edit;
    edit.show();

    QTest::keyClick(&edit, Qt::Key_A);
    queue.postEvent(event::TimerTick, 0, 0, &edit);
    QTest::keyClicks(&edit, "bc");
    // A pause of a send run keeps the window painting but delivers nothing.
    queue.keepPainting();
    EXPECT_EQ(edit.text(), "");

    std::vector<int> numbers;
    Event e;
    while (queue.takeEvent(e)) {
        // Showing the window may add pointer enter events; they do not matter here.
        if (e.number != event::MouseMove) numbers.push_back(e.number == event::Keyboard ? int(e.mp1) : e.number);
        queue.handEvent(e);
    }
    EXPECT_EQ(edit.text(), "abc");
    // Key releases are held too; they carry no number of their own.
    const std::vector<int> expected{'a', event::NativeInput, event::TimerTick, 'b', event::NativeInput,
                                    'c', event::NativeInput};
    EXPECT_EQ(numbers, expected);
}

TEST(EventQueue, AHeldKeyCarriesTheOfficesKeyCodeAndItsWidget) {
    EventQueue queue;
    QLineEdit edit;
    QTest::keyPress(&edit, Qt::Key_L, Qt::AltModifier);
    // The Alt key itself comes first, with a code of its own.
    const Event alt = queue.nextEvent();
    EXPECT_EQ(alt.number, event::Keyboard);
    EXPECT_EQ(alt.mp1, key::AltBit + key::virtualKey(0x12));
    const Event e = queue.nextEvent();
    EXPECT_EQ(e.number, event::Keyboard);
    EXPECT_EQ(e.mp1, key::AltL);
    EXPECT_EQ(e.target.data(), &edit);
    EXPECT_TRUE(e.isInput());
}

TEST(EventQueue, PostedKeysAndActivationsReachTheirTarget) {
    EventQueue queue;
    QLineEdit edit;
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });

    queue.postEvent(event::Keyboard, 'x', 0, &edit);
    queue.postEvent(event::Keyboard, 228, 0, &edit);
    queue.postEvent(event::Activate, 0, 0, &button);
    handAll(queue);
    EXPECT_EQ(edit.text(), QString::fromUtf8("xä"));
    EXPECT_EQ(clicks, 1);
    // Handing a key on queues nothing new.
    EXPECT_TRUE(queue.isEmpty());
}

TEST(EventQueue, MouseInputIsNamedLikeTheOfficesEvents) {
    EventQueue queue;
    PressCounter widget;
    widget.resize(50, 50);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(&widget, Qt::RightButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(7, 9), QPointF(7, 9), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(&widget, &move);

    std::vector<int> numbers;
    Event e;
    Event lastMove;
    while (queue.takeEvent(e)) {
        numbers.push_back(e.number);
        if (e.number == event::MouseMove) lastMove = e;
    }
    const std::vector<int> expected{event::LeftButtonDown, event::LeftClick, event::NativeInput, event::NativeInput,
                                    event::MouseMove};
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(lastMove.mp1, 7);
    EXPECT_EQ(lastMove.mp2, 9);
    EXPECT_EQ(widget.presses, 0);
}

TEST(EventQueue, AClickTheChildIgnoresGoesOnToTheParentOnce) {
    EventQueue queue;
    PressCounter parent;
    auto* label = new QLabel("caption", &parent);  // a label ignores presses
    label->setGeometry(0, 0, 40, 20);
    parent.resize(100, 100);

    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    handAll(queue);
    EXPECT_EQ(parent.presses, 1);
    EXPECT_TRUE(queue.isEmpty());
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 5));
    handAll(queue);
}

TEST(EventQueue, InputDuringAHandedOnClickWaitsForTheLoop) {
    EventQueue queue;
    QWidget window;
    auto* button = new QPushButton("S E N D E N", &window);
    auto* edit = new QLineEdit(&window);
    button->setGeometry(0, 0, 80, 30);
    QString seenDuringRun = "not run";
    // The click's activation stands for a send run: it pauses while the operator types.
    QObject::connect(button, &QPushButton::clicked, [&] {
        QTest::keyClicks(edit, "xy");
        queue.postEvent(event::TimerTick, 0, 0, &window);
        queue.keepPainting();
        seenDuringRun = edit->text();
    });

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    std::vector<int> afterRun;
    bool runDone = false;
    Event e;
    while (queue.takeEvent(e)) {
        if (runDone && e.number != event::NativeInput && e.number != event::MouseMove)
            afterRun.push_back(e.number == event::Keyboard ? int(e.mp1) : e.number);
        queue.handEvent(e);
        runDone = runDone || seenDuringRun != "not run";
    }
    EXPECT_EQ(seenDuringRun, "");
    EXPECT_EQ(edit->text(), "xy");
    const std::vector<int> expected{'x', 'y', event::TimerTick};
    EXPECT_EQ(afterRun, expected);
}

TEST(EventQueue, InputForAPartThatIsGoneIsDropped) {
    EventQueue queue;
    auto edit = std::make_unique<QLineEdit>();
    QTest::keyClick(edit.get(), Qt::Key_A);
    edit.reset();
    Event e;
    ASSERT_TRUE(queue.takeEvent(e));
    EXPECT_TRUE(e.target.isNull());
    queue.handEvent(e);  // must not crash
    handAll(queue);
}

TEST(EventQueue, ShortcutOverrideIsClaimedSoNoShortcutFiresAhead) {
    EventQueue queue;
    QLineEdit edit;
    QKeyEvent probe(QEvent::ShortcutOverride, Qt::Key_E, Qt::ControlModifier, "\x05");
    probe.ignore();
    EXPECT_TRUE(QCoreApplication::sendEvent(&edit, &probe));
    EXPECT_TRUE(probe.isAccepted());
    EXPECT_TRUE(queue.isEmpty());
}

TEST(EventQueue, PassInputLetsQtsOwnBoxesTakeInputDirectly) {
    EventQueue queue;
    QLineEdit edit;
    {
        EventQueue::PassInput passing(queue);
        QTest::keyClick(&edit, Qt::Key_Z);
    }
    EXPECT_EQ(edit.text(), "z");
    EXPECT_TRUE(queue.isEmpty());
    QTest::keyClick(&edit, Qt::Key_Y);
    EXPECT_EQ(edit.text(), "z");
}

TEST(EventQueue, APopupTakesItsInputWhileOtherInputWaits) {
    EventQueue queue;
    QLineEdit edit;
    QMenu menu;
    QLineEdit* inMenu = new QLineEdit(&menu);
    const int got = queue.runPopup([&] {
        QTest::keyClick(&edit, Qt::Key_Z);
        return 7;
    });
    EXPECT_EQ(got, 7);
    EXPECT_EQ(edit.text(), "z");
    QTest::keyClick(inMenu, Qt::Key_M);
    QTest::keyClick(&edit, Qt::Key_Y);
    EXPECT_EQ(inMenu->text(), "m") << "input to a popup window passes";
    EXPECT_EQ(edit.text(), "z") << "other input waits for a loop";
    EXPECT_FALSE(queue.isEmpty());
}

TEST(EventQueue, IsForTellsWhetherTheTargetLiesInsideAWindow) {
    QWidget window;
    auto* inner = new QWidget(&window);
    QWidget other;
    Event e;
    e.target = inner;
    EXPECT_TRUE(e.isFor(&window));
    EXPECT_TRUE(e.isFor(inner));
    EXPECT_FALSE(e.isFor(&other));
}

}  // namespace
}  // namespace sendwerk
