// The seven buttons of the main window, left to right: emergency stop, send, halt,
// log, retry failures, retry quarantine, end. One table gives caption, base x and
// width (thousandths), colours and activation; makeButtons() builds them onto a main
// window in that order. The activations act on the shared state, the actions and the
// event queue, which must outlive the window. GUI thread only.
#pragma once

#include <QString>

namespace sendwerk {

class EventQueue;
class MainActions;
class MainWindow;
struct Shared;

enum class ButtonRole { EmergencyStop, Send, Halt, Log, RetryFailures, RetryQuarantine, End };

struct ButtonDef {
    ButtonRole role;
    const char* caption;  // exact, blanks included
    int baseX;
    int baseWidth;
    int background;  // presentation colours the button is made with
    int foreground;  // -1000: none given
    int normalFG;
    int normalBG;
    int ActiveCLR;
};

inline constexpr int kNoColour = -1000;
inline constexpr int kButtonBaseY = 15;
inline constexpr int kButtonBaseHeight = 35;

inline constexpr ButtonDef kButtons[] = {
    {ButtonRole::EmergencyStop, "A  L  T - C", 30, 45, 4, 0, 0, 4, 4},
    {ButtonRole::Send, " S E N D E N ", 130, 85, 0, kNoColour, 1, 0, 6},
    {ButtonRole::Halt, " HALT", 225, 35, 0, kNoColour, 1, 0, 3},
    {ButtonRole::Log, "  L  O  G  ", 290, 40, 0, kNoColour, 1, 0, 0},
    {ButtonRole::RetryFailures, "W I E D E R H O L E N", 445, 100, 0, kNoColour, 1, 0, 0},
    {ButtonRole::RetryQuarantine, "W I E D E R H O L E N", 770, 100, 0, kNoColour, 1, 0, 0},
    {ButtonRole::End, "Ende", 915, 45, 0, kNoColour, 0, 0, 0},
};

void makeButtons(MainWindow& window, Shared& shared, MainActions& actions, EventQueue& events);

}  // namespace sendwerk
