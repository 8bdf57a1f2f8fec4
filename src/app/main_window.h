// The main window: a top-level window with five report panes and seven MagicButtons on
// its client area (colour 11), laid out in thousandths of its size with the y-up
// coordinates of the office. The window owns its parts; the shared state only borrows
// them (screenParts()). The close box asks `closeRequested` (the program posts the
// close request into the event queue, whose loop runs the emergency stop) and never
// closes by itself; every size change is reported to `resized`.
// GUI thread only.
#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>

#include "app/layout.h"
#include "queue/screen.h"

namespace sendwerk {

class MagicButton;
class TextPane;

// The texts the panes are bound to (their data links). They belong to Main and keep
// their values across rebuilds.
struct BoundTexts {
    QString cString;     // outbox pane
    QString cMessage20;  // pending pane
    QString cMessage1;   // failure pane
    QString cMessage30;  // current-mail pane
    QString cMessage2;   // quarantine pane
};

// Base positions and sizes (thousandths, y up) of the panes.
namespace pane_base {
inline constexpr UpRect Outbox{10, 65, 320, 865};
inline constexpr UpRect Pending{335, 500, 320, 430};
inline constexpr UpRect Failure{335, 65, 320, 430};
inline constexpr UpRect Current{660, 500, 320, 430};
inline constexpr UpRect Quarantine{660, 65, 320, 430};
}  // namespace pane_base

class MainWindow final : public QWidget {
public:
    // An empty window of `size` with the title, the window buttons and the background.
    explicit MainWindow(QSize size);

    // The size the parts were laid out for.
    QSize laidOutSize() const { return laidOut_; }
    // Places `part` at the pixels of `base` for the laid-out size.
    void place(QWidget& part, const UpRect& base) const;

    TextPane* oMle1 = nullptr;
    TextPane* oMle20 = nullptr;
    TextPane* oMle2 = nullptr;
    TextPane* oMle30 = nullptr;
    TextPane* oMle3 = nullptr;
    MagicButton* oXbpBna = nullptr;
    MagicButton* oXbpBS = nullptr;
    MagicButton* oXbpBH = nullptr;
    MagicButton* oXbpBlb = nullptr;
    MagicButton* oXbpBW1 = nullptr;
    MagicButton* oXbpBW2 = nullptr;
    MagicButton* oXbpBEn = nullptr;

    // The parts to lend to the shared state (`shared.screen`).
    ScreenParts screenParts() const;

    std::function<void()> closeRequested;
    std::function<void(QSize now)> resized;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize laidOut_;
};

}  // namespace sendwerk
