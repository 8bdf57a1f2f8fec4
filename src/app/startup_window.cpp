#include "app/startup_window.h"

#include <QWidget>

#include "queue/shared.h"
#include "widgets/geometry.h"
#include "widgets/palette.h"
#include "widgets/presentation.h"

namespace sendwerk {

std::unique_ptr<QWidget> showStartupWindow(const Shared& shared) {
    auto window = std::make_unique<QWidget>(
        nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window->setWindowTitle(QStringLiteral("TAVO-Mail - S T A R T E T ..."));
    setBackgroundColour(*window, colour::DarkPink);
    placeYUp(*window, QPoint(static_cast<int>(250 * shared.nH), static_cast<int>(250 * shared.nV)), QSize(300, 100));
    window->show();
    return window;
}

}  // namespace sendwerk
