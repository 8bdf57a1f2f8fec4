#include "widgets/geometry.h"

#include <QScreen>
#include <QWidget>

#include <cmath>

namespace sendwerk {

QRect qtRectFromYUp(QPoint position, QSize size, int parentHeight) {
    return QRect(QPoint(position.x(), parentHeight - position.y() - size.height()), size);
}

QPoint yUpPositionOf(const QRect& qtRect, int parentHeight) {
    return QPoint(qtRect.x(), parentHeight - qtRect.y() - qtRect.height());
}

QSize parentAreaOf(const QWidget& widget) {
    if (!widget.isWindow() && widget.parentWidget() != nullptr) return widget.parentWidget()->size();
    const QScreen* screen = widget.screen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

void placeYUp(QWidget& widget, QPoint position, QSize size) {
    widget.setGeometry(qtRectFromYUp(position, size, parentAreaOf(widget).height()));
}

QPointF ScreenCenter(QWidget& oXbp, bool lSet) {
    const QSize parent = parentAreaOf(oXbp);
    const QSize own = oXbp.size();
    const QPointF position((parent.width() - own.width()) / 2.0, (parent.height() - own.height()) / 2.0);
    if (lSet) {
        // Centred, so y up and y down give the same distance from the edge.
        QPoint topLeft(int(std::lround(position.x())), int(std::lround(position.y())));
        if (oXbp.isWindow() && oXbp.screen() != nullptr) topLeft += oXbp.screen()->geometry().topLeft();
        oXbp.move(topLeft);
    }
    return position;
}

}  // namespace sendwerk
