#include "app/layout.h"

#include <cstdlib>

namespace sendwerk {

UpRect scaledToWindow(const UpRect& base, QSize windowSize) {
    const int width = windowSize.width();
    const int height = windowSize.height();
    return {base.x * width / 1000, base.y * height / 1000, base.w * width / 1000,
            base.h * height / 1000};
}

bool needsRebuild(QSize laidOut, QSize now) {
    return std::abs(now.width() - laidOut.width()) > 10 || std::abs(now.height() - laidOut.height()) > 10;
}

}  // namespace sendwerk
