#include "config/dialog_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "widgets/geometry.h"
#include "widgets/text_pane.h"

namespace sendwerk {
namespace {

// INT of a layout product. The products are meant as decimal numbers (30 x 1.2 is 36);
// the guard keeps binary rounding from cutting off a whole pixel.
int truncated(double v) { return int(std::floor(v + 1e-9)); }

const QString kTextHint = QStringLiteral("  -  STRG-W zum Speichern dieses Textes  -  Esc-Taste zum Beenden");
const QString kAddressHint = QStringLiteral("  -  STRG-W zum Speichern dieser Adressen  -  Esc-Taste zum Beenden");

QRect desktopOf(const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 800, 600);
}

}  // namespace

DialogLayout dialogLayout(int desktopWidth, int ownerWidth, int nXsize, int nYsize) {
    DialogLayout out;
    out.nV = desktopWidth / 800.0;
    const double nV = out.nV;
    out.pane = QRect(truncated(30 * nV), truncated(40 * nV), nXsize - truncated(60 * nV), nYsize - truncated(70 * nV));
    out.buttonSize = QSize(truncated(72 * nV), truncated(24 * nV));
    out.buttonPosition = QPointF((nXsize - out.buttonSize.width()) / 2.0, truncated(12 * nV));
    if (nXsize == 800 && nYsize == 600) out.windowPosition = QPointF(ownerWidth / 2.0, truncated(20 * nV));
    return out;
}

QString titleWithHint(const QString& cTitle, const QString& subject, TitleHints hints) {
    const QString upper = subject.toUpper();
    if (upper.contains(QStringLiteral(".DAT"))) return cTitle + kTextHint;
    if (hints == TitleHints::TextOrAddresses && upper.contains(QStringLiteral(".MAD"))) return cTitle + kAddressHint;
    return cTitle;
}

DialogWindow::DialogWindow(DialogEnvironment env, QWidget* owner, const Names& names, const QString& title, int nXsize,
                           int nYsize, const QString& text)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      env_(env),
      desktop_(desktopOf(owner)),
      layout_(dialogLayout(desktop_.width(), owner != nullptr ? owner->width() : desktop_.width(), nXsize, nYsize)) {
    setObjectName(names.window);
    resize(nXsize, nYsize);
    setWindowTitle(title);

    pane_ = new TextPane(this, QStringLiteral("10.Times New Roman"));
    pane_->setObjectName(names.pane);
    pane_->setGeometry(qtRectFromYUp(layout_.pane.topLeft(), layout_.pane.size(), nYsize));
    env_.clock.pause(0.01);
    pane_->show();
    env_.clock.pause(0.01);
    pane_->setData(text);
    env_.clock.pause(0.01);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setFocusPolicy(Qt::StrongFocus);
    // Enter reaches the button only as the loop's posted activation, never twice.
    ok_->setAutoDefault(false);
    const QPoint buttonAt(int(std::lround(layout_.buttonPosition.x())), int(layout_.buttonPosition.y()));
    ok_->setGeometry(qtRectFromYUp(buttonAt, layout_.buttonSize, nYsize));
    QObject::connect(ok_, &QPushButton::clicked, this, [this] {
        if (onOk) onOk();
        env_.events.postEvent(event::Quit, 0, 0, this);
    });
    pane_->setFocus();
}

DialogWindow::LoopEnd DialogWindow::runModal(const std::function<bool(const Event&)>& keyCommand) {
    postCloseRequests = true;
    setWindowModality(Qt::ApplicationModal);
    show();
    LoopEnd end = LoopEnd::Quit;
    for (;;) {
        const Event e = env_.events.nextEvent();
        if (e.number == event::Quit) break;
        if (e.number == event::CloseRequest && e.isFor(this)) {
            end = LoopEnd::CloseBox;
            break;
        }
        // No other window of the program takes input while the dialog is open.
        if (e.isInput() && !e.isFor(this)) continue;
        if (e.number == event::Keyboard && keyCommand && !keyCommand(e)) continue;
        env_.events.handEvent(e);
    }
    postCloseRequests = false;
    hide();
    setWindowModality(Qt::NonModal);
    return end;
}

void DialogWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (postCloseRequests) env_.events.postEvent(event::CloseRequest, 0, 0, this);
}

FocusKeeper::FocusKeeper() : before_(QApplication::focusWidget()) {}

FocusKeeper::~FocusKeeper() {
    if (before_.isNull()) return;
    before_->window()->activateWindow();
    before_->setFocus();
}

}  // namespace sendwerk
