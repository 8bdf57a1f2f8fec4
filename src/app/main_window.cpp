#include "app/main_window.h"

#include <QCloseEvent>
#include <QResizeEvent>

#include "app/send_schedule.h"
#include "queue/shared.h"
#include "widgets/geometry.h"
#include "widgets/magic_button.h"
#include "widgets/palette.h"
#include "widgets/presentation.h"
#include "widgets/text_pane.h"

namespace sendwerk {

MainWindow::MainWindow(QSize size)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      laidOut_(size) {
    setWindowTitle(mainWindowTitle());
    resize(size);
    setBackgroundColour(*this, colour::DarkPink);
}

void MainWindow::place(QWidget& part, const UpRect& base) const {
    const UpRect pixels = scaledToWindow(base, laidOut_);
    part.setGeometry(qtRectFromYUp({pixels.x, pixels.y}, {pixels.w, pixels.h}, laidOut_.height()));
}

ScreenParts MainWindow::screenParts() const {
    return {oMle1, oMle2, oMle3, oMle20, oMle30, oXbpBS, oXbpBH, oXbpBEn, oXbpBW1, oXbpBW2, oXbpBna, oXbpBlb};
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (closeRequested) closeRequested();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (resized) resized(event->size());
}

}  // namespace sendwerk
