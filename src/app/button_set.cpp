#include "app/button_set.h"

#include <QFontMetrics>

#include <functional>

#include "app/main_actions.h"
#include "app/main_window.h"
#include "queue/shared.h"
#include "widgets/event_queue.h"
#include "widgets/key_codes.h"
#include "widgets/magic_button.h"
#include "widgets/presentation.h"
#include "widgets/text_pane.h"

namespace sendwerk {

namespace {

using Activation = std::function<void(MagicButton&)>;

Activation activationFor(ButtonRole role, MainWindow& window, Shared& shared, MainActions& actions,
                         EventQueue& events) {
    switch (role) {
    case ButtonRole::EmergencyStop:
        // A mouse press on it is the emergency stop, caught by the event loop.
        return [](MagicButton&) {};
    case ButtonRole::Send:
        return [&window, &shared, &actions](MagicButton&) {
            if (shared.nBeenden != 0) return;
            shared.nDauerlauf = 1;
            window.oMle1->setData(actions.mailAusgang());
            actions.senden();
        };
    case ButtonRole::Halt: return [&shared](MagicButton&) { shared.nDauerlauf = 0; };
    case ButtonRole::Log:
        return [&window, &events](MagicButton&) { events.postEvent(event::Keyboard, key::AltL, 0, &window); };
    case ButtonRole::RetryFailures: return [&actions](MagicButton&) { actions.wiederholen(0); };
    case ButtonRole::RetryQuarantine: return [&actions](MagicButton&) { actions.wiederholen(2); };
    case ButtonRole::End:
        return [&shared, &events](MagicButton&) {
            shared.nDauerlauf = 0;
            shared.nBeenden = 1;
            events.postEvent(event::Quit, 0, 0, nullptr);
        };
    }
    return {};
}

// The caption keeps the desktop's font unless it would be cut: then the size shrinks,
// by the font's own metrics, until the caption fits the button's width.
void fitCaption(MagicButton& button) {
    constexpr double smallest = 5;
    QFont font = button.font();
    if (font.pointSizeF() <= 0) return;
    while (font.pointSizeF() > smallest && QFontMetrics(font).horizontalAdvance(button.text()) > button.width() - 2)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    button.setFont(font);
}

MagicButton*& slotFor(MainWindow& window, ButtonRole role) {
    switch (role) {
    case ButtonRole::EmergencyStop: return window.oXbpBna;
    case ButtonRole::Send: return window.oXbpBS;
    case ButtonRole::Halt: return window.oXbpBH;
    case ButtonRole::Log: return window.oXbpBlb;
    case ButtonRole::RetryFailures: return window.oXbpBW1;
    case ButtonRole::RetryQuarantine: return window.oXbpBW2;
    case ButtonRole::End: break;
    }
    return window.oXbpBEn;
}

}  // namespace

void makeButtons(MainWindow& window, Shared& shared, MainActions& actions, EventQueue& events) {
    for (const ButtonDef& def : kButtons) {
        Presentation presentation = {{presentation::Background, def.background}};
        if (def.foreground != kNoColour) presentation.push_back({presentation::TextColour, def.foreground});
        auto* button = new MagicButton(&window, presentation);
        button->setText(QString::fromLatin1(def.caption));
        button->setAlignment(Qt::AlignCenter);
        button->setFocusPolicy(Qt::TabFocus);
        button->normalFG = def.normalFG;
        button->normalBG = def.normalBG;
        button->ActiveCLR = def.ActiveCLR;
        window.place(*button, {def.baseX, kButtonBaseY, def.baseWidth, kButtonBaseHeight});
        fitCaption(*button);
        button->show();
        button->activate = activationFor(def.role, window, shared, actions, events);
        slotFor(window, def.role) = button;
    }
}

}  // namespace sendwerk
