#include "app/main_loop.h"

#include "app/continuous_mode.h"
#include "app/main_actions.h"
#include "app/main_window.h"
#include "app/send_schedule.h"
#include "app/window_build.h"
#include "platform/clock.h"
#include "queue/shared.h"
#include "widgets/event_queue.h"
#include "widgets/key_codes.h"
#include "widgets/magic_button.h"
#include "widgets/presentation.h"
#include "widgets/text_pane.h"

namespace sendwerk {

namespace {

const QString kEditorTitle = QStringLiteral("E-Mail-Daten eingeben/ändern");

}  // namespace

MainLoop::MainLoop(Shared& shared, MainWindow& window, EventQueue& events, MainActions& actions, const Clock& clock,
                   std::function<void()> afterEvent)
    : shared_(shared),
      window_(window),
      events_(events),
      actions_(actions),
      clock_(clock),
      afterEvent_(std::move(afterEvent)) {}

void MainLoop::run() {
    int number = 0;
    while (number != event::Quit) {
        const Event e = events_.nextEvent();
        number = e.number;
        shared_.cNextSenden = nextSendTime(clock_.now().time());
        if (applyMouseAndTimerRules(e) == Next::Skip) continue;
        if (e.number == event::Keyboard) applyKeyCommand(static_cast<int>(e.mp1));
        if (e.number == event::CloseRequest && e.isFor(&window_)) {
            // The window's close routine: the emergency stop.
            shared_.nDauerlauf = 0;
            actions_.notAus();
            continue;
        }
        events_.handEvent(e);
        if (afterEvent_) afterEvent_();
    }
}

MainLoop::Next MainLoop::applyMouseAndTimerRules(const Event& e) {
    if ((e.number == event::LeftButtonDown && e.isFor(window_.oXbpBna)) ||
        (e.number == event::Keyboard && e.mp1 == key::AltC)) {
        shared_.nDauerlauf = 0;
        actions_.notAus();
        return Next::Skip;
    }
    if (e.number == event::MouseMove && e.isFor(window_.oXbpBW1)) {
        applyFailureIndicator(window_, actions_);
        return Next::Skip;
    }
    if (e.number == event::MouseMove && e.isFor(window_.oXbpBW2)) {
        applyQuarantineIndicator(window_, actions_);
        return Next::Skip;
    }
    if (e.number == event::MouseMove && e.isFor(window_.oXbpBH)) return Next::Skip;
    if (e.number == event::LeftClick && e.isFor(window_.oXbpBS) && shared_.nAufSendung == 0 && shared_.nBeenden == 0) {
        announceSendStart(shared_, window_);
    } else if (e.number == event::TimerTick && shared_.nDauerlauf == 1 && shared_.nAufSendung == 0) {
        timedSendRun(shared_, window_, actions_);
    }
    return Next::HandOn;
}

void MainLoop::applyKeyCommand(int keyCode) {
    switch (keyCode) {
    case key::Escape:
    case key::AltF4:
        shared_.nDauerlauf = 0;
        shared_.nBeenden = 1;
        events_.postEvent(event::Quit, 0, 0, nullptr);
        break;
    case key::F1: actions_.openTextEditor(shared_.cDatver + QStringLiteral("CMail\\F1.txt"), kEditorTitle); break;
    case key::CtrlF1: actions_.runNotepad(shared_.cDatver + QStringLiteral("CMail\\F1.txt")); break;
    case key::CtrlE:
    case key::CtrlN: openMarkedOrder(keyCode); break;
    case key::AltH:
        shared_.nDauerlauf = 0;
        window_.oXbpBH->setColorBG(kButtonDefaultColour);
        applyPresentation(*window_.oXbpBH, {{presentation::ActiveColour, 0}});
        break;
    case key::AltL: actions_.openLogBrowser(); break;
    default: break;
    }
}

void MainLoop::openMarkedOrder(int keyCode) {
    const QWidget* focus = window_.focusWidget();
    TextPane* pane = nullptr;
    Folder folder;
    if (focus == window_.oMle2) {
        pane = window_.oMle2;
        folder = Folder::Failure;
    } else if (focus == window_.oMle3) {
        pane = window_.oMle3;
        folder = Folder::Quarantine;
    } else {
        return;
    }
    const QString path = folderPath(shared_.cDatver, folder) + pane->markedText();
    if (keyCode == key::CtrlE)
        actions_.openTextEditor(path, kEditorTitle);
    else
        actions_.runNotepad(path);
}

}  // namespace sendwerk
