// The office's coordinates: pixels from the bottom-left corner of the parent's client
// area, x to the right, y upwards. Qt counts y downwards from the top, so every
// placement goes through here. For a top-level window the parent is its screen.
// GUI thread only.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

class QWidget;

namespace sendwerk {

// The Qt rectangle of a part at y-up `position` with `size` in a parent `parentHeight`
// pixels high, and back.
QRect qtRectFromYUp(QPoint position, QSize size, int parentHeight);
QPoint yUpPositionOf(const QRect& qtRect, int parentHeight);

// Size of the area `widget` is placed in: its parent's client area, or the screen for a
// top-level window.
QSize parentAreaOf(const QWidget& widget);

// Places `widget` at y-up `position` with `size` in its parent area.
void placeYUp(QWidget& widget, QPoint position, QSize size);

// Centres a window on its parent: ((parent width - width) / 2, (parent height - height)
// / 2), divided exactly. Moves the window there when `lSet` is true (to the nearest
// pixel) and returns the exact position.
QPointF ScreenCenter(QWidget& oXbp, bool lSet);

}  // namespace sendwerk
