// The main window's layout in thousandths: every pane and button has a base position
// and size, scaled to the window by INT(base × size / 1000), y measured upwards from
// the bottom-left corner of the client area. Also the rebuild threshold of a resize.
// Also how the window keeps to the screen. Pure arithmetic, callable from anywhere; the
// window converts the result to Qt's y-down geometry when it places its parts.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace sendwerk {

// Position and size, x to the right and y upwards (base units or pixels).
struct UpRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const UpRect&) const = default;
};

// Pixels of a base rectangle in a window of `windowSize`. Integer arithmetic, so the
// truncation is exact (a factor like 1.2 has no exact binary form).
UpRect scaledToWindow(const UpRect& base, QSize windowSize);

// True when the window changed by more than 10 pixels in width or height since it
// was laid out, which asks for a rebuild at the new size.
bool needsRebuild(QSize laidOut, QSize now);

// The size of the first build on a screen whose free area (without panels) is
// `available`: the wanted size, but never wider or higher than that area, so a 1200 × 750
// window does not open half off a desktop scaled to 640 × 512. An unknown (empty) area
// changes nothing.
QSize sizeWithin(QSize wanted, QSize available);

// Where a window frame goes so that it lies within `available`, moved as little as
// possible. When it cannot fit whole, its top-left corner stays on the screen, so the
// title bar can still be reached and dragged.
QPoint topLeftWithin(const QRect& frame, const QRect& available);

}  // namespace sendwerk
