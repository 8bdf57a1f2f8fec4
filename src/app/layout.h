// The main window's layout in thousandths: every pane and button has a base position
// and size, scaled to the window by INT(base × size / 1000), y measured upwards from
// the bottom-left corner of the client area. Also the rebuild threshold of a resize.
// Pure arithmetic, callable from anywhere; the window converts the result to Qt's
// y-down geometry when it places its parts.
#pragma once

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

}  // namespace sendwerk
