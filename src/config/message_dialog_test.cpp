#include "config/message_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "config/dialog_test_support.h"
#include "platform/clock.h"
#include "widgets/event_queue.h"

namespace sendwerk {
namespace {

const QString kHint = QStringLiteral("  -  STRG-W zum Speichern dieses Textes  -  Esc-Taste zum Beenden");

// Runs `step` once the dialog is up, from inside its own loop.
class ModalDialogTest : public ::testing::Test {
protected:
    ModalDialogTest() {
        owner.resize(400, 300);
        owner.show();
    }

    QString run(const QString& message, int width, int height, std::function<void(QWidget&)> step) {
        testing::whenDialogIsUp(&owner, std::move(step));
        return Modaldialog_ml({events, clock}, message, "Abschluss-Meldung:", &owner, width, height, true);
    }

    static QPlainTextEdit* paneOf(QWidget& dialog) { return dialog.findChild<QPlainTextEdit*>("messageText"); }
    static QPushButton* okOf(QWidget& dialog) { return dialog.findChild<QPushButton*>("okButton"); }
    static void clickOk(QWidget& dialog) { QTest::mouseClick(okOf(dialog), Qt::LeftButton); }

    EventQueue events;
    VirtualClock clock;
    QWidget owner;
    QLineEdit other{&owner};
};

TEST_F(ModalDialogTest, OkReturnsTheEditedTextWithoutLeadingBlanks) {
    const QString result = run("   Probleme beim Senden!\r\nKeine Antwort", 500, 500, [](QWidget& dialog) {
        QTest::keyClick(paneOf(dialog), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(paneOf(dialog), " von CMail");
        clickOk(dialog);
    });
    EXPECT_EQ(result, "Probleme beim Senden!\r\nKeine Antwort von CMail");
}

TEST_F(ModalDialogTest, LeadingBlanksGoEvenWhenNothingWasEdited) {
    EXPECT_EQ(run("  \r\n text", 500, 500, [](QWidget& dialog) { clickOk(dialog); }), "\r\n text");
    EXPECT_EQ(run("", 500, 500, [](QWidget& dialog) { clickOk(dialog); }), "");
}

TEST_F(ModalDialogTest, TheSendRunsCallIsLaidOutForTheDesktop) {
    const int desktopWidth = QGuiApplication::primaryScreen()->geometry().width();
    const DialogLayout l = dialogLayout(desktopWidth, owner.width(), 500, 500);
    run("Probleme beim Senden!", 500, 500, [&](QWidget& dialog) {
        EXPECT_EQ(dialog.size(), QSize(500, 500));
        EXPECT_EQ(dialog.windowTitle(), "Abschluss-Meldung:");
        EXPECT_TRUE(dialog.isWindow());
        EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
        const QRect pane = paneOf(dialog)->geometry();
        EXPECT_EQ(pane, QRect(l.pane.x(), 500 - l.pane.y() - l.pane.height(), l.pane.width(), l.pane.height()));
        EXPECT_EQ(pane.width(), 500 - int(60 * l.nV));
        const QRect ok = okOf(dialog)->geometry();
        EXPECT_EQ(ok.size(), l.buttonSize);
        EXPECT_EQ(ok.bottom(), 500 - 1 - l.buttonPosition.y());
        EXPECT_EQ(ok.x() + ok.width() / 2.0, 250.0);
        EXPECT_EQ(okOf(dialog)->text(), "OK");
        EXPECT_EQ(QApplication::focusWidget(), paneOf(dialog));
        EXPECT_EQ(paneOf(dialog)->font().pointSize(), 10);
        clickOk(dialog);
    });
}

TEST_F(ModalDialogTest, At800By600TheBottomLeftCornerSitsAtHalfTheOwnersWidth) {
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    const int up = int(20 * (desktop.width() / 800.0));
    run("x.DAT", 800, 600, [&](QWidget& dialog) {
        EXPECT_EQ(dialog.pos(), desktop.topLeft() + QPoint(200, desktop.height() - up - 600));
        EXPECT_EQ(dialog.windowTitle(), "Abschluss-Meldung:" + kHint);
        clickOk(dialog);
    });
}

TEST_F(ModalDialogTest, TicksAreHandedOnAndOtherWindowsTakeNoInput) {
    const QString result = run("text", 500, 500, [&](QWidget& dialog) {
        events.postEvent(event::TimerTick, 0, 0, &owner);
        QTest::keyClicks(&other, "typed elsewhere");
        clickOk(dialog);
    });
    EXPECT_EQ(result, "text");
    EXPECT_EQ(other.text(), "");
}

TEST_F(ModalDialogTest, TheCloseBoxEndsTheDialogLikeOk) {
    QWidget* closed = nullptr;
    const QString result = run("  text", 500, 500, [&](QWidget& dialog) {
        QTest::keyClicks(paneOf(dialog), "more ");
        closed = &dialog;
        dialog.close();
        // The request waits behind the typing; the window stays up until it is taken.
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(result, "more   text");
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_NE(w, closed);
}

TEST_F(ModalDialogTest, TheFocusGoesBackToThePartThatHadIt) {
    owner.activateWindow();
    other.setFocus();
    const QDeadlineTimer deadline(5000);
    while (QApplication::focusWidget() != &other && !deadline.hasExpired()) QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), &other);

    run("text", 500, 500, [](QWidget& dialog) { clickOk(dialog); });
    const QDeadlineTimer back(5000);
    while (QApplication::focusWidget() != &other && !back.hasExpired()) QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), &other);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(NonModalMessageDialog, ShowsTheMessageForTenSecondsAndReturnsIt) {
    EventQueue events;
    VirtualClock clock;
    bool shownAtNine = false;
    QString titleShown;
    clock.after(9, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "messageDialog" && w->isVisible()) {
                shownAtNine = true;
                titleShown = w->windowTitle();
                // Typing into it reaches nothing while the pause runs.
                QTest::keyClicks(w->findChild<QPlainTextEdit*>("messageText"), "typed");
            }
    });
    const QString result = Modaldialog_ml({events, clock}, "  Datei VERBINDUNG.DAT", "Hinweis", nullptr, 300, 200);
    EXPECT_TRUE(shownAtNine);
    EXPECT_EQ(titleShown, "Hinweis" + kHint);
    EXPECT_EQ(result, "Datei VERBINDUNG.DAT");
    EXPECT_NEAR(clock.pausedSeconds(), 10.03, 1e-9);
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_NE(w->objectName(), "messageDialog");

    // The held typing belonged to the closed dialog: handing it on does nothing.
    Event e;
    while (events.takeEvent(e)) {
        EXPECT_TRUE(e.target.isNull());
        events.handEvent(e);
    }
}

TEST(MessageDialogAdapter, RunsTheModalFormForTheSendRun) {
    EventQueue events;
    VirtualClock clock;
    QWidget owner;
    const MessageDialog show = messageDialogFor({events, clock}, &owner);
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    show("Probleme beim Senden!", "Abschluss-Meldung:", 500, 500);
    EXPECT_EQ(title, "Abschluss-Meldung:");
}

}  // namespace
}  // namespace sendwerk
