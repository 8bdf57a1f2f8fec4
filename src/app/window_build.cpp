#include "app/window_build.h"

#include <QScreen>

#include "app/button_set.h"
#include "app/layout.h"
#include "app/main_actions.h"
#include "app/main_window.h"
#include "platform/clock.h"
#include "queue/shared.h"
#include "widgets/event_queue.h"
#include "widgets/geometry.h"
#include "widgets/magic_button.h"
#include "widgets/text_pane.h"

namespace sendwerk {

namespace {

constexpr double kStepPause = 0.01;

TextPane* makePane(MainWindow& window, const UpRect& base, QString& bound, Clock& clock) {
    auto* pane = new TextPane(&window);
    pane->setDataLink({[&bound] { return bound; }, [&bound](const QString& text) { bound = text; }});
    pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    window.place(*pane, base);
    clock.pause(kStepPause);
    pane->show();
    clock.pause(kStepPause);
    pane->refresh();
    clock.pause(kStepPause);
    return pane;
}

// Centred, a window still overlaps a panel, or its frame the screen's edge, when the
// frame is larger than the window itself; only a shown window knows its frame.
void keepOnScreen(QWidget& window) {
    if (window.screen() == nullptr) return;
    const QRect frame = window.frameGeometry();
    const QPoint topLeft = topLeftWithin(frame, window.screen()->availableGeometry());
    if (topLeft != frame.topLeft()) window.move(window.pos() + (topLeft - frame.topLeft()));
}

}  // namespace

void fitFirstBuildTo(Shared& shared, QSize available) {
    const QSize fitted = sizeWithin({shared.nXSize, shared.nYSize}, available);
    shared.nXSize = fitted.width();
    shared.nYSize = fitted.height();
    shared.nX = shared.nXSize / 1000.0;
    shared.nY = shared.nYSize / 1000.0;
}

std::unique_ptr<MainWindow> buildMainWindow(const WindowServices& s) {
    auto window = std::make_unique<MainWindow>(QSize(s.shared.nXSize, s.shared.nYSize));
    ScreenCenter(*window, true);

    s.texts.cString = s.actions.mailAusgang();
    window->oMle1 = makePane(*window, pane_base::Outbox, s.texts.cString, s.clock);
    window->oMle20 = makePane(*window, pane_base::Pending, s.texts.cMessage20, s.clock);
    s.texts.cMessage1 = s.actions.sendeFehler(0);
    window->oMle2 = makePane(*window, pane_base::Failure, s.texts.cMessage1, s.clock);
    window->oMle30 = makePane(*window, pane_base::Current, s.texts.cMessage30, s.clock);
    s.texts.cMessage2 = s.actions.sendeFehler(2);
    window->oMle3 = makePane(*window, pane_base::Quarantine, s.texts.cMessage2, s.clock);

    makeButtons(*window, s.shared, s.actions, s.events);
    s.shared.screen = window->screenParts();

    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    keepOnScreen(*window);
    window->activateWindow();
    window->setFocus();
    window->oMle1->setFocus();
    return window;
}

void DlgResizer(Shared& shared, EventQueue& events, QSize laidOut, QSize now, bool& requested) {
    if (!needsRebuild(laidOut, now)) return;
    shared.nXSize = now.width();
    shared.nYSize = now.height();
    shared.nX = shared.nXSize / 1000.0;
    shared.nY = shared.nYSize / 1000.0;
    shared.nDauerlauf = 1;
    if (!requested) events.postEvent(event::Quit, 0, 0, nullptr);
    requested = true;
}

void applyFailureIndicator(MainWindow& window, MainActions& actions) {
    window.oXbpBW1->setColorBG(actions.folderHoldsOrders(Folder::Failure) ? kFolderIndicator : kButtonDefaultColour);
}

void applyQuarantineIndicator(MainWindow& window, MainActions& actions) {
    window.oXbpBW2->setColorBG(actions.folderHoldsOrders(Folder::Quarantine) ? kFolderIndicator : kButtonDefaultColour);
}

}  // namespace sendwerk
