// For the tests of this folder only: runs a test's step from inside a dialog's own
// loop once the dialog is up, and plays the operator's keys as a short script.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QMap>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace sendwerk::testing {

// Schedules `step` for the modal dialog that the test opens next; it runs inside the
// dialog's loop once the window system has activated the dialog. Nothing runs when no
// modal dialog came up. The step dies with `context`.
inline void whenDialogIsUp(const QObject* context, std::function<void(QWidget&)> step) {
    QTimer::singleShot(0, context, [step = std::move(step)] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr) return;
        const QDeadlineTimer deadline(5000);
        while (QApplication::activeWindow() != dialog && !deadline.hasExpired()) QCoreApplication::processEvents();
        step(*dialog);
    });
}

// Plays a key script to the part that has the focus: "Esc", "F10", "Enter", "Down",
// "^X" for Ctrl+X, "@X" for Alt+X, "^End"; anything else is typed as it stands.
inline void playKeys(const QStringList& script) {
    const QMap<QString, Qt::Key> named = {
        {"Esc", Qt::Key_Escape}, {"F10", Qt::Key_F10}, {"Enter", Qt::Key_Return},
        {"Down", Qt::Key_Down},  {"End", Qt::Key_End},
    };
    for (const QString& step : script) {
        const QString rest = step.mid(1);
        const Qt::Key key = named.value(rest, rest.size() == 1 ? Qt::Key(rest.at(0).unicode()) : Qt::Key_unknown);
        if (named.contains(step))
            QTest::keyClick(QApplication::focusWidget(), named.value(step));
        else if (step.startsWith('^') && key != Qt::Key_unknown)
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
        else if (step.startsWith('@') && key != Qt::Key_unknown)
            QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        else
            QTest::keyClicks(QApplication::focusWidget(), step);
    }
}

}  // namespace sendwerk::testing
