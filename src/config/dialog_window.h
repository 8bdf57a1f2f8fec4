// What the message dialog and the text editor have in common: one top-level window with
// a text pane and a centred "OK" button laid out by the desktop width, the save hints of
// their titles, their own loop on the application event queue while the window is
// modal, and the focus given back when it has gone. The window's close box never closes
// it directly: the request joins the queue and ends the loop in its turn.
// GUI thread only.
#pragma once

#include <QPointF>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/clock.h"
#include "queue/screen.h"
#include "widgets/event_queue.h"

class QPushButton;

namespace sendwerk {

class TextPane;

// What the dialogs of this folder need from the shell.
struct DialogEnvironment {
    EventQueue& events;
    Clock& clock;
};

// The layout in y-up pixels of the client area (nXsize x nYsize).
struct DialogLayout {
    double nV = 1;           // desktop width / 800
    QRect pane;              // y-up position and size
    QPointF buttonPosition;  // x divided exactly
    QSize buttonSize;
    // Bottom-left corner from the desktop's bottom-left, only for 800 x 600 (the message
    // dialog places itself there; the editor centres itself instead).
    std::optional<QPointF> windowPosition;
};

DialogLayout dialogLayout(int desktopWidth, int ownerWidth, int nXsize, int nYsize);

// Which save hints a title may get: the message dialog knows only the one for ".DAT",
// the editor also the one for the whitelist's ".MAD".
enum class TitleHints { TextOnly, TextOrAddresses };

// cTitle, followed by "  -  STRG-W zum Speichern dieses Textes  -  Esc-Taste zum
// Beenden" when `subject` contains ".DAT" in any letter case, otherwise (with
// TextOrAddresses) by the "dieser Adressen" hint when it contains ".MAD".
QString titleWithHint(const QString& cTitle, const QString& subject, TitleHints hints);

class DialogWindow final : public QWidget {
public:
    // Names the window, the pane and the button carry (the tests find them by these).
    struct Names {
        QString window;
        QString pane;
    };

    // A top-level window of `owner` without minimise and maximise buttons, sized
    // nXsize x nYsize, with its pane (font "10.Times New Roman", filled with `text`,
    // with the short pauses around its creation) and its "OK" button laid out. The
    // pane has the focus.
    DialogWindow(DialogEnvironment env, QWidget* owner, const Names& names, const QString& title, int nXsize,
                 int nYsize, const QString& text);

    TextPane& pane() const { return *pane_; }
    QPushButton& okButton() const { return *ok_; }
    const DialogLayout& layout() const { return layout_; }
    // The desktop the window is laid out for.
    QRect desktop() const { return desktop_; }

    enum class LoopEnd { Quit, CloseBox };
    // Makes the window application-modal, shows it and takes events until the quit
    // event or the window's close box. Input for other windows is dropped; every
    // keyboard event that is left is shown to `keyCommand` first and handed on when it
    // returns true; everything else (timer ticks too) is handed on. Modeless and hidden
    // afterwards.
    LoopEnd runModal(const std::function<bool(const Event&)>& keyCommand = {});

    // While true, the close box posts its request into the queue (modal form only).
    bool postCloseRequests = false;
    // Runs when "OK" is pressed, before the quit event is posted.
    std::function<void()> onOk;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    DialogEnvironment env_;
    QRect desktop_;
    DialogLayout layout_;
    TextPane* pane_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// Remembers the part that has the focus now and gives the focus back to it on leaving
// the scope (when it still exists).
class FocusKeeper {
public:
    FocusKeeper();
    ~FocusKeeper();
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    QPointer<QWidget> before_;
};

}  // namespace sendwerk
