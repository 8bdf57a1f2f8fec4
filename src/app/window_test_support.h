// For the app's own tests only: the test program's application object, a recording
// stand-in for MainActions, and a main window built on a virtual clock.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "app/error_report.h"
#include "app/main_actions.h"
#include "app/main_window.h"
#include "app/window_build.h"
#include "platform/clock.h"
#include "queue/shared.h"
#include "widgets/event_queue.h"

namespace sendwerk::testing {

// The application object that app_test_main.cpp makes for the whole test program.
inline GuardedApplication& testApplication() { return static_cast<GuardedApplication&>(*qApp); }

// Records every call; the listings and folder states are whatever the test sets.
class RecordingActions final : public MainActions {
public:
    QStringList calls;
    QString outboxListing = QStringLiteral("\r\nMailAusgang ist leer.\r\n");
    QString failureListing = QStringLiteral("\r\nFailure-Ordner ist leer.");
    QString quarantineListing = QStringLiteral("\r\nQuarantine-Ordner ist leer.");
    bool failureHoldsOrders = false;
    bool quarantineHoldsOrders = false;
    // Runs inside senden(), with the number of the run (1, 2 ...).
    std::function<void(int)> duringSenden;

    void senden() override {
        calls << QStringLiteral("senden");
        if (duringSenden) duringSenden(++runs_);
    }
    void wiederholen(int nFQ) override { calls << QStringLiteral("wiederholen %1").arg(nFQ); }
    QString mailAusgang() override { return outboxListing; }
    QString sendeFehler(int nFQ) override { return nFQ == 0 ? failureListing : quarantineListing; }
    bool folderHoldsOrders(Folder folder) override {
        return folder == Folder::Failure ? failureHoldsOrders : quarantineHoldsOrders;
    }
    void runNotepad(const QString& dosPath) override { calls << QStringLiteral("notepad ") + dosPath; }
    void openTextEditor(const QString& dosPath, const QString& title) override {
        calls << QStringLiteral("editor ") + dosPath + QStringLiteral(" | ") + title;
    }
    void openLogBrowser() override { calls << QStringLiteral("browser"); }
    void tone() override { calls << QStringLiteral("tone"); }
    void notAus() override { calls << QStringLiteral("NotAus"); }

private:
    int runs_ = 0;
};

// A main window as Main builds it, on a virtual clock.
struct BuiltWindow {
    explicit BuiltWindow(QSize size = {1200, 750}) {
        shared.nXSize = size.width();
        shared.nYSize = size.height();
        window = buildMainWindow({shared, texts, actions, events, clock});
        shared.nDauerlauf = 0;
        applyFailureIndicator(*window, actions);
        applyQuarantineIndicator(*window, actions);
    }
    ~BuiltWindow() { shared.screen = {}; }

    GuardedApplication& app = testApplication();  // first: the queue needs it
    Shared shared;
    BoundTexts texts;
    RecordingActions actions;
    VirtualClock clock{QDateTime(QDate(2024, 7, 15), QTime(10, 3, 30))};
    EventQueue events;
    std::unique_ptr<MainWindow> window;
};

}  // namespace sendwerk::testing
