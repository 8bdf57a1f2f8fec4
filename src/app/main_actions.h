// What the main window's buttons, loop and timer ask of the rest of the program: the
// send run, the retry, the listings, the folder indicators, the waited-for editor, the
// text editor, the log browser, the tone and the emergency stop. The window code talks
// only to this interface, so the loop's tests put a recording fake in its place;
// QueueActions is the real one.
// GUI thread only.
#pragma once

#include <QString>

#include "queue/folders.h"

namespace sendwerk {

class MainActions {
public:
    virtual ~MainActions() = default;

    virtual void senden() = 0;
    virtual void wiederholen(int nFQ) = 0;
    virtual QString mailAusgang() = 0;
    virtual QString sendeFehler(int nFQ) = 0;
    // True when the folder holds an order.
    virtual bool folderHoldsOrders(Folder folder) = 0;
    // Starts "Notepad.exe" on the DOS path and waits until it has ended.
    virtual void runNotepad(const QString& dosPath) = 0;
    // The modal text editor (800 x 600) on a DOS path, and the table browser on the send
    // log; both return when their window has closed.
    virtual void openTextEditor(const QString& dosPath, const QString& title) = 0;
    virtual void openLogBrowser() = 0;
    // The tone of a timed run.
    virtual void tone() = 0;
    // Commit and close all tables, select work area 1, end the process at once.
    virtual void notAus() = 0;
};

}  // namespace sendwerk
