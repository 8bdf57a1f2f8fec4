#include "config/message_dialog.h"

#include <QPointer>
#include <cmath>
#include <memory>

#include "platform/office_text.h"
#include "widgets/text_pane.h"

namespace sendwerk {

QString Modaldialog_ml(DialogEnvironment env, QString cString, const QString& cTitle, QWidget* oDlg1, int nXsize,
                       int nYsize, bool lModal) {
    const FocusKeeper focus;
    auto window =
        std::make_unique<DialogWindow>(env, oDlg1, DialogWindow::Names{"messageDialog", "messageText"},
                                       titleWithHint(cTitle, cString, TitleHints::TextOnly), nXsize, nYsize, cString);
    if (const auto& at = window->layout().windowPosition) {
        const QRect desktop = window->desktop();
        const QPoint bottomLeft(int(std::lround(at->x())), int(at->y()));
        window->move(desktop.left() + bottomLeft.x(), desktop.top() + desktop.height() - bottomLeft.y() - nYsize);
    }
    const auto takeText = [&] { cString = withoutLeadingBlanks(window->pane().data()); };
    window->onOk = takeText;

    if (lModal) {
        // The close box ends the dialog like "OK".
        if (window->runModal() == DialogWindow::LoopEnd::CloseBox) takeText();
    } else {
        window->show();
        env.clock.pause(10);
    }
    window.reset();
    return withoutLeadingBlanks(cString);
}

MessageDialog messageDialogFor(DialogEnvironment env, QWidget* owner) {
    return [env, owner = QPointer<QWidget>(owner)](const QString& text, const QString& title, int width, int height) {
        Modaldialog_ml(env, text, title, owner.data(), width, height, true);
    };
}

}  // namespace sendwerk
