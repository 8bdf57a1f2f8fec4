// Presentation settings of a window part: (setting, value) pairs given at construction
// or later. 2 text colour, 4 background colour (colour numbers, palette.h), 15 font (a
// compound font name, fonts.h), 19 active colour (kept on the part as the property
// "activeColour"; it changes nothing on the screen). Unknown settings are ignored.
// GUI thread only.
#pragma once

#include <QString>
#include <QVariant>

#include <vector>

class QWidget;

namespace sendwerk {

namespace presentation {
inline constexpr int TextColour = 2;
inline constexpr int Background = 4;
inline constexpr int Font = 15;
inline constexpr int ActiveColour = 19;
}  // namespace presentation

struct PresentationSetting {
    int setting = 0;
    QVariant value;  // a colour number, or the font's compound name
};
using Presentation = std::vector<PresentationSetting>;

void applyPresentation(QWidget& widget, const PresentationSetting& item);
void applyPresentation(QWidget& widget, const Presentation& items);

// Paints the whole background of `widget` in colour `number`.
void setBackgroundColour(QWidget& widget, int number);

}  // namespace sendwerk
