// The office's compound font names ("12. consolas", "10.Times New Roman") for the window
// parts. They live with printing, which needs them below the widgets (QtGui only).
#pragma once

#include "print/compound_font.h"
