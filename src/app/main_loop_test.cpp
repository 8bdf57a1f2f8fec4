#include "app/main_loop.h"

#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/send_schedule.h"
#include "app/window_test_support.h"
#include "widgets/key_codes.h"
#include "widgets/magic_button.h"
#include "widgets/text_pane.h"

namespace sendwerk {
namespace {

using testing::BuiltWindow;

// Runs the loop over what is queued; the test queues the quit that ends it.
struct LoopRun : BuiltWindow {
    void post(int number, qint64 mp1 = 0, QObject* target = nullptr) { events.postEvent(number, mp1, 0, target); }
    void run() { MainLoop(shared, *window, events, actions, clock).run(); }
    void runUntilQuit() {
        post(event::Quit);
        run();
    }
};

const QString kTitle = QStringLiteral("E-Mail-Daten eingeben/ändern");

TEST(MainLoop, EveryEventSetsTheNextRunTime) {
    LoopRun r;
    r.runUntilQuit();
    EXPECT_EQ(r.shared.cNextSenden, QStringLiteral("10:05:30"));
}

TEST(MainLoop, EndKeysEndTheLoopInOrder) {
    for (const int code : {key::Escape, key::AltF4}) {
        LoopRun r;
        r.post(event::Keyboard, code, r.window->oMle1);
        r.run();  // ends through the quit event the key posts
        EXPECT_EQ(r.shared.nBeenden, 1) << code;
        EXPECT_EQ(r.shared.nDauerlauf, 0) << code;
        EXPECT_TRUE(r.actions.calls.isEmpty()) << code;
    }
}

TEST(MainLoop, KeyCommands) {
    struct Case {
        const char* name;
        int code;
        int focus;  // 0 outbox, 2 failure, 3 quarantine pane
        QStringList calls;
    };
    const QString root = QStringLiteral("C:\\ZUMA\\CMail\\");
    const Case cases[] = {
        {"F1", key::F1, 0, {"editor " + root + "F1.txt | " + kTitle}},
        {"Ctrl+F1", key::CtrlF1, 0, {"notepad " + root + "F1.txt"}},
        {"Alt+L", key::AltL, 0, {"browser"}},
        {"Alt+C", key::AltC, 0, {"NotAus"}},
        {"Ctrl+E in failure pane", key::CtrlE, 2, {"editor " + root + "Ausgang\\failure\\A_123456_x.ausg | " + kTitle}},
        {"Ctrl+N in quarantine pane", key::CtrlN, 3, {"notepad " + root + "Ausgang\\quarantine\\A_123456_x.ausg"}},
        {"Ctrl+E in outbox pane", key::CtrlE, 0, {}},
        {"Ctrl+N in outbox pane", key::CtrlN, 0, {}},
        {"Ctrl+W", key::CtrlW, 2, {}},
        {"Alt+W", key::AltW, 2, {}},
    };
    for (const Case& c : cases) {
        LoopRun r;
        TextPane* panes[] = {r.window->oMle1, nullptr, r.window->oMle2, r.window->oMle3};
        TextPane* focus = panes[c.focus];
        focus->setPlainText(QStringLiteral("ACHTUNG:\nA_123456_x.ausg - Fehler"));
        QTextCursor cursor = focus->textCursor();
        cursor.setPosition(9);
        cursor.setPosition(24, QTextCursor::KeepAnchor);
        focus->setTextCursor(cursor);
        focus->setFocus();
        r.post(event::Keyboard, c.code, focus);
        r.runUntilQuit();
        EXPECT_EQ(r.actions.calls, c.calls) << c.name;
    }
}

TEST(MainLoop, AltHHaltsAndResetsTheHaltButton) {
    LoopRun r;
    r.shared.nDauerlauf = 1;
    r.window->oXbpBH->setColorBG(3);
    r.post(event::Keyboard, key::AltH, r.window->oMle1);
    r.runUntilQuit();
    EXPECT_EQ(r.shared.nDauerlauf, 0);
    EXPECT_EQ(r.window->oXbpBH->colorBG(), 0);
    EXPECT_EQ(r.window->oXbpBH->property("activeColour").toInt(), 0);
}

TEST(MainLoop, PressOnTheEmergencyStopButton) {
    LoopRun r;
    r.shared.nDauerlauf = 1;
    QTest::mousePress(r.window->oXbpBna, Qt::LeftButton);
    r.runUntilQuit();
    EXPECT_EQ(r.actions.calls, QStringList{"NotAus"});
    EXPECT_EQ(r.shared.nDauerlauf, 0);
}

TEST(MainLoop, PointerOverTheRetryButtonsShowsTheirFolders) {
    LoopRun r;
    r.actions.failureHoldsOrders = true;
    r.post(event::MouseMove, 0, r.window->oXbpBW1);
    r.runUntilQuit();
    EXPECT_EQ(r.window->oXbpBW1->colorBG(), 7);
    EXPECT_EQ(r.window->oXbpBW2->colorBG(), 0);

    r.actions.failureHoldsOrders = false;  // removed by hand
    r.actions.quarantineHoldsOrders = true;
    QTest::mouseMove(r.window->oXbpBW1, {5, 5});
    QTest::mouseMove(r.window->oXbpBW2, {5, 5});
    r.runUntilQuit();
    EXPECT_EQ(r.window->oXbpBW1->colorBG(), 0);
    EXPECT_EQ(r.window->oXbpBW2->colorBG(), 7);
    // The rules stop the event, so the buttons never light up.
    EXPECT_FALSE(r.window->oXbpBW1->isLit());
    EXPECT_FALSE(r.window->oXbpBW2->isLit());
}

TEST(MainLoop, ClickOnSendAnnouncesTheRunAndSends) {
    LoopRun r;
    r.actions.outboxListing =
        QStringLiteral("\r\nMailAusgang\r\nDiese Mails sind zu versenden um 10:03:30 Uhr:\r\nA_123456_x.ausg\r\n");
    QTest::mouseClick(r.window->oXbpBS, Qt::LeftButton);
    r.runUntilQuit();
    EXPECT_EQ(r.actions.calls, QStringList{"senden"});
    EXPECT_EQ(r.shared.nDauerlauf, 1);
    EXPECT_EQ(r.window->windowTitle(), titleAfterClick(QStringLiteral("10:05:30")));
    EXPECT_EQ(r.window->oMle1->data(), r.actions.outboxListing);
}

TEST(MainLoop, ClickAtMidnightShowsTheUnwrappedHour) {
    LoopRun r;
    r.clock.pause(13 * 3600 + 56 * 60);  // 23:59:30
    QTest::mouseClick(r.window->oXbpBS, Qt::LeftButton);
    r.runUntilQuit();
    EXPECT_EQ(r.window->windowTitle(), titleAfterClick(QStringLiteral("24:01:30")));
}

TEST(MainLoop, ClickAfterTheEndButtonDoesNothing) {
    LoopRun r;
    QTest::mouseClick(r.window->oXbpBEn, Qt::LeftButton);
    QTest::mouseClick(r.window->oXbpBS, Qt::LeftButton);
    r.run();  // the end button's quit comes first
    EXPECT_EQ(r.shared.nBeenden, 1);
    r.runUntilQuit();  // the queued click is taken now
    EXPECT_TRUE(r.actions.calls.isEmpty());
    EXPECT_EQ(r.window->windowTitle(), mainWindowTitle());
}

TEST(MainLoop, ButtonActivations) {
    struct Case {
        const char* name;
        MagicButton* MainWindow::*button;
        QStringList calls;
        int nDauerlauf;
    };
    const Case cases[] = {
        {"halt", &MainWindow::oXbpBH, {}, 0},
        {"log posts Alt+L", &MainWindow::oXbpBlb, {"browser"}, 1},
        {"retry failures", &MainWindow::oXbpBW1, {"wiederholen 0"}, 1},
        {"retry quarantine", &MainWindow::oXbpBW2, {"wiederholen 2"}, 1},
    };
    for (const Case& c : cases) {
        LoopRun r;
        r.shared.nDauerlauf = 1;
        QTest::mouseClick(r.window.get()->*c.button, Qt::LeftButton);
        r.runUntilQuit();
        r.runUntilQuit();  // events the activation posted
        EXPECT_EQ(r.actions.calls, c.calls) << c.name;
        EXPECT_EQ(r.shared.nDauerlauf, c.nDauerlauf) << c.name;
    }
}

TEST(MainLoop, TimerTickRunsOnlyInContinuousModeAndWhenIdle) {
    struct Case {
        const char* name;
        int nDauerlauf;
        int nAufSendung;
        bool runs;
    };
    const Case cases[] = {
        {"continuous, idle", 1, 0, true},
        {"continuous mode off", 0, 0, false},
        {"a run in progress", 1, 1, false},
    };
    for (const Case& c : cases) {
        LoopRun r;
        r.shared.nDauerlauf = c.nDauerlauf;
        r.shared.nAufSendung = c.nAufSendung;
        r.window->oMle2->setData(
            QStringLiteral("\r\nACHTUNG:\r\nFehler im Failure-Ordner:\r\nA_123456_x.ausg - Fehler"));
        r.post(event::TimerTick);
        r.runUntilQuit();
        if (c.runs) {
            EXPECT_EQ(r.actions.calls, (QStringList{"tone", "senden"})) << c.name;
            EXPECT_EQ(r.window->oXbpBS->colorBG(), 6) << c.name;
            EXPECT_EQ(r.window->oXbpBW1->colorBG(), 7) << c.name;
            EXPECT_EQ(r.window->oXbpBW2->colorBG(), 0) << c.name;
            EXPECT_EQ(r.window->windowTitle(), titleAfterTimedRun(QStringLiteral("10:05:30"))) << c.name;
        } else {
            EXPECT_TRUE(r.actions.calls.isEmpty()) << c.name;
            EXPECT_EQ(r.window->windowTitle(), mainWindowTitle()) << c.name;
        }
    }
}

TEST(MainLoop, CloseRequestDuringARunWaitsThenStopsTheProgram) {
    LoopRun r;
    r.shared.nDauerlauf = 1;
    r.actions.duringSenden = [&](int) {
        r.post(event::CloseRequest, 0, r.window.get());
        r.post(event::Quit);  // ends the test's loop once the fake emergency stop returned
        EXPECT_EQ(r.actions.calls, (QStringList{"tone", "senden"}));  // not yet: the run goes on
    };
    r.post(event::TimerTick);
    r.run();
    EXPECT_EQ(r.actions.calls, (QStringList{"tone", "senden", "NotAus"}));
    EXPECT_EQ(r.shared.nDauerlauf, 0);
}

TEST(MainLoop, SendButtonShowsTheRunWhileItLasts) {
    LoopRun r;
    r.shared.nDauerlauf = 1;
    int colourDuringRun = -1;
    r.actions.duringSenden = [&](int) { colourDuringRun = r.window->oXbpBS->colorBG(); };
    r.post(event::TimerTick);
    r.runUntilQuit();
    EXPECT_EQ(colourDuringRun, 5);
}

TEST(MainLoop, TickThatWaitedDuringARunStartsTheNextAtOnce) {
    LoopRun r;
    r.shared.nDauerlauf = 1;
    r.actions.duringSenden = [&](int run) {
        // The timer thread posts while the GUI thread is busy with the run.
        if (run == 1) r.post(event::TimerTick);
        if (run == 2) r.post(event::Quit);
    };
    r.post(event::TimerTick);
    r.run();
    EXPECT_EQ(r.actions.calls, (QStringList{"tone", "senden", "tone", "senden"}));
}

TEST(MainLoop, InputDuringARunWaitsAndIsHandledInOrder) {
    LoopRun r;
    r.shared.nDauerlauf = 1;
    r.actions.duringSenden = [&](int) {
        QTest::keyClick(r.window->oMle20, Qt::Key_X);
        QTest::keyClick(r.window->oMle20, Qt::Key_Escape);
        // Nothing reached the pane yet.
        EXPECT_EQ(r.window->oMle20->data(), QString());
    };
    r.window->oMle20->setFocus();
    r.post(event::TimerTick);
    r.run();  // ends on the Escape typed during the run
    EXPECT_EQ(r.window->oMle20->data(), QStringLiteral("x"));
    EXPECT_EQ(r.shared.nBeenden, 1);
}

TEST(MainLoop, AnErrorInAClickedRunLeavesTheLoopForTheErrorReport) {
    LoopRun r;
    r.actions.duringSenden = [](int) { throw std::runtime_error("C:\\ZUMA\\best.dbf: kaputt"); };
    QTest::mouseClick(r.window->oXbpBS, Qt::LeftButton);
    r.post(event::Quit);
    MainLoop loop(r.shared, *r.window, r.events, r.actions, r.clock, [&] { r.app.rethrowPending(); });
    EXPECT_THROW(loop.run(), std::runtime_error);
}

}  // namespace
}  // namespace sendwerk
