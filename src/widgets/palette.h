// What the office's colour numbers (queue/colour_numbers.h) look like on this desktop:
// the fixed 16-colour palette, plain white and black, and the dark shade of button
// faces and the background of entry fields, both taken from the desktop's palette. A
// number outside these gives the desktop's window background, so a wrong number never
// hides a part.
// GUI thread only (it reads the application palette).
#pragma once

#include <QColor>

#include "queue/colour_numbers.h"

namespace sendwerk {

QColor paletteColor(int number);

// True when black text would be hard to read on `background` (the neutral black of a
// folder indicator, the dark blues and reds): such a background takes white text.
bool isDark(const QColor& background);

}  // namespace sendwerk
