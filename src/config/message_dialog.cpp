#include "config/message_dialog.h"

#include "platform/office_text.h"
#include "widgets/geometry.h"
#include "widgets/text_pane.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <memory>

namespace sendwerk {
namespace {

// INT of a layout product. The products are meant as decimal numbers (30 x 1.2 is 36);
// the guard keeps binary rounding from cutting off a whole pixel.
int truncated(double v) { return int(std::floor(v + 1e-9)); }

// The dialog's window. Its close box never closes it directly: in the modal form the
// request joins the event queue and ends the loop like "OK", in the non-modal form the
// ten seconds run out anyway.
class DialogWindow final : public QWidget {
public:
    DialogWindow(QWidget* owner, EventQueue& events)
        : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
          events_(events) {}
    bool postCloseRequests = false;

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        if (postCloseRequests) events_.postEvent(event::CloseRequest, 0, 0, this);
    }

private:
    EventQueue& events_;
};

const QString kDatHint = QStringLiteral("  -  STRG-W zum Speichern dieses Textes  -  Esc-Taste zum Beenden");

}  // namespace

MessageDialogLayout messageDialogLayout(int desktopWidth, int ownerWidth, int nXsize, int nYsize) {
    MessageDialogLayout out;
    out.nV = desktopWidth / 800.0;
    const double nV = out.nV;
    out.pane = QRect(truncated(30 * nV), truncated(40 * nV), nXsize - truncated(60 * nV), nYsize - truncated(70 * nV));
    out.buttonSize = QSize(truncated(72 * nV), truncated(24 * nV));
    out.buttonPosition = QPointF((nXsize - out.buttonSize.width()) / 2.0, truncated(12 * nV));
    if (nXsize == 800 && nYsize == 600) out.windowPosition = QPointF(ownerWidth / 2.0, truncated(20 * nV));
    return out;
}

QString messageDialogTitle(const QString& cString, const QString& cTitle) {
    return cString.toUpper().contains(QStringLiteral(".DAT")) ? cTitle + kDatHint : cTitle;
}

QString Modaldialog_ml(DialogEnvironment env, QString cString, const QString& cTitle, QWidget* oDlg1, int nXsize,
                       int nYsize, bool lModal) {
    const QPointer<QWidget> focusBefore = QApplication::focusWidget();
    const QScreen* screen = oDlg1 != nullptr ? oDlg1->screen() : QGuiApplication::primaryScreen();
    const QRect desktop = screen != nullptr ? screen->geometry() : QRect(0, 0, 800, 600);
    const int ownerWidth = oDlg1 != nullptr ? oDlg1->width() : desktop.width();
    const MessageDialogLayout layout = messageDialogLayout(desktop.width(), ownerWidth, nXsize, nYsize);

    auto window = std::make_unique<DialogWindow>(oDlg1, env.events);
    window->setObjectName(QStringLiteral("messageDialog"));
    window->resize(nXsize, nYsize);
    if (layout.windowPosition) {
        const QPoint bottomLeft(int(std::lround(layout.windowPosition->x())), int(layout.windowPosition->y()));
        window->move(desktop.left() + bottomLeft.x(), desktop.top() + desktop.height() - bottomLeft.y() - nYsize);
    }
    window->setWindowTitle(messageDialogTitle(cString, cTitle));

    auto* pane = new TextPane(window.get(), QStringLiteral("10.Times New Roman"));
    pane->setObjectName(QStringLiteral("messageText"));
    pane->setGeometry(qtRectFromYUp(layout.pane.topLeft(), layout.pane.size(), nYsize));
    env.clock.pause(0.01);
    pane->show();
    env.clock.pause(0.01);
    pane->setData(cString);
    env.clock.pause(0.01);

    auto* ok = new QPushButton(QStringLiteral("OK"), window.get());
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setFocusPolicy(Qt::StrongFocus);
    ok->setAutoDefault(false);
    const QPoint buttonAt(int(std::lround(layout.buttonPosition.x())), int(layout.buttonPosition.y()));
    ok->setGeometry(qtRectFromYUp(buttonAt, layout.buttonSize, nYsize));
    const auto takeText = [&] { cString = withoutLeadingBlanks(pane->data()); };
    QObject::connect(ok, &QPushButton::clicked, window.get(), [&, target = window.get()] {
        takeText();
        env.events.postEvent(event::Quit, 0, 0, target);
    });
    pane->setFocus();

    if (lModal) {
        window->postCloseRequests = true;
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        for (;;) {
            const Event e = env.events.nextEvent();
            if (e.number == event::Quit) break;
            // The close box ends the dialog like "OK".
            if (e.number == event::CloseRequest && e.isFor(window.get())) {
                takeText();
                break;
            }
            // No other window of the program takes input while the dialog is open.
            if (e.isInput() && !e.isFor(window.get())) continue;
            env.events.handEvent(e);
        }
        window->hide();
        window->setWindowModality(Qt::NonModal);
    } else {
        window->show();
        env.clock.pause(10);
    }

    window.reset();
    if (!focusBefore.isNull()) {
        focusBefore->window()->activateWindow();
        focusBefore->setFocus();
    }
    return withoutLeadingBlanks(cString);
}

MessageDialog messageDialogFor(DialogEnvironment env, QWidget* owner) {
    return [env, owner = QPointer<QWidget>(owner)](const QString& text, const QString& title, int width, int height) {
        Modaldialog_ml(env, text, title, owner.data(), width, height, true);
    };
}

}  // namespace sendwerk
