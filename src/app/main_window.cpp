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

void MainWindow::attach(Shared& shared) {
    shared.oMle1 = oMle1;
    shared.oMle20 = oMle20;
    shared.oMle2 = oMle2;
    shared.oMle30 = oMle30;
    shared.oMle3 = oMle3;
    shared.oXbpBna = oXbpBna;
    shared.oXbpBS = oXbpBS;
    shared.oXbpBH = oXbpBH;
    shared.oXbpBlb = oXbpBlb;
    shared.oXbpBW1 = oXbpBW1;
    shared.oXbpBW2 = oXbpBW2;
    shared.oXbpBEn = oXbpBEn;
}

void MainWindow::detach(Shared& shared) {
    shared.oMle1 = shared.oMle20 = shared.oMle2 = shared.oMle30 = shared.oMle3 = nullptr;
    shared.oXbpBna = shared.oXbpBS = shared.oXbpBH = shared.oXbpBlb = nullptr;
    shared.oXbpBW1 = shared.oXbpBW2 = shared.oXbpBEn = nullptr;
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
