// What all entry fields of the program share: the insert/overwrite setting (off, that is
// overwrite, until Ins switches it), the context menu (built once, on first use, and
// prepared for one entry field at a time right before it pops up), the application event
// queue through which popups get their input, and the tone for refused input. Made once
// by the program's owner and kept for the whole run. GUI thread only.
#pragma once

#include <QMenu>

#include <memory>

#include "queue/screen.h"

namespace sendwerk {

class EventQueue;

struct EntrySettings {
    EntrySettings(EventQueue& queue, Tone beep) : events(queue), tone(std::move(beep)) {}

    EventQueue& events;
    Tone tone;
    bool insertMode = false;
    std::unique_ptr<QMenu> contextMenu;

    void beep() const {
        if (tone) tone(1000, 0.1);
    }
};

}  // namespace sendwerk
