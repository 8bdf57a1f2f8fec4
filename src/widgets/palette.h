// The office's colour numbers and what they look like on this desktop: 0..15 the fixed
// 16-colour palette, -2 white, -1 black, -39 the dark shade of button faces and -47 the
// background of entry fields, both taken from the desktop's palette. A number outside
// these gives the desktop's window background, so a wrong number never hides a part.
// GUI thread only (it reads the application palette).
#pragma once

#include <QColor>

namespace sendwerk {

namespace colour {
inline constexpr int White = 0;
inline constexpr int Blue = 1;
inline constexpr int Red = 2;
inline constexpr int Pink = 3;
inline constexpr int Green = 4;
inline constexpr int Cyan = 5;
inline constexpr int Yellow = 6;
inline constexpr int Neutral = 7;
inline constexpr int DarkGrey = 8;
inline constexpr int DarkBlue = 9;
inline constexpr int DarkRed = 10;
inline constexpr int DarkPink = 11;
inline constexpr int DarkGreen = 12;
inline constexpr int DarkCyan = 13;
inline constexpr int Brown = 14;
inline constexpr int PaleGrey = 15;
inline constexpr int PlainBlack = -1;
inline constexpr int PlainWhite = -2;
inline constexpr int ButtonDarkShade = -39;
inline constexpr int EntryFieldBackground = -47;
}  // namespace colour

QColor paletteColor(int number);

// True when black text would be hard to read on `background` (the neutral black of a
// folder indicator, the dark blues and reds): such a background takes white text.
bool isDark(const QColor& background);

}  // namespace sendwerk
