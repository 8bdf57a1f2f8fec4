// Building the main window, everything of a (re)build before its event loop: the window
// at the shared size, centred on the desktop and kept within its free area; the five
// panes filled from the listings and bound to Main's texts; the seven buttons; shown
// application-modal with the focus in the outbox pane. The build pauses briefly between
// the panes' steps, through the clock, so a real window keeps painting. Also the folder
// indicators of the two retry buttons, and the resize rule. GUI thread only.
#pragma once

#include <QSize>

#include <memory>

namespace sendwerk {

class Clock;
class EventQueue;
class MainActions;
class MainWindow;
struct BoundTexts;
struct Shared;

struct WindowServices {
    Shared& shared;
    BoundTexts& texts;
    MainActions& actions;
    EventQueue& events;
    Clock& clock;
};

std::unique_ptr<MainWindow> buildMainWindow(const WindowServices& services);

// Shrinks the shared window size (and its layout factors) to the screen's free area
// before the first build, so the window never opens partly off the screen.
void fitFirstBuildTo(Shared& shared, QSize available);

// Background 7 on a retry button whose folder holds an order, else 0.
void applyFailureIndicator(MainWindow& window, MainActions& actions);
void applyQuarantineIndicator(MainWindow& window, MainActions& actions);

// The resize rule of a window laid out for `laidOut`, now `now` large: beyond 10 pixels
// in either direction the shared size takes the new one and the loop is asked to end
// with a rebuild request (nDauerlauf 1). `requested` keeps the quit event to one per
// window, so a drag that sends many sizes cannot end the next window's loop too.
void DlgResizer(Shared& shared, EventQueue& events, QSize laidOut, QSize now, bool& requested);

}  // namespace sendwerk
