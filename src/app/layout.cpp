#include "app/layout.h"

#include <algorithm>
#include <cstdlib>

namespace sendwerk {

UpRect scaledToWindow(const UpRect& base, QSize windowSize) {
    const int width = windowSize.width();
    const int height = windowSize.height();
    return {base.x * width / 1000, base.y * height / 1000, base.w * width / 1000, base.h * height / 1000};
}

bool needsRebuild(QSize laidOut, QSize now) {
    return std::abs(now.width() - laidOut.width()) > 10 || std::abs(now.height() - laidOut.height()) > 10;
}

QSize sizeWithin(QSize wanted, QSize available) {
    if (available.isEmpty()) return wanted;
    return wanted.boundedTo(available);
}

QPoint topLeftWithin(const QRect& frame, const QRect& available) {
    if (available.isEmpty()) return frame.topLeft();
    // Pushed back from the right and bottom edges first, then from the left and top,
    // which win.
    const int x = std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
    const int y = std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
    return {x, y};
}

}  // namespace sendwerk
