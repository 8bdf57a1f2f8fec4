// The office's colour numbers, as the queue and the window set them on buttons and
// panes: 0..15 the fixed 16-colour palette, -2 white, -1 black, -39 the dark shade of
// button faces and -47 the background of entry fields. What a number looks like on
// this desktop is the window's business (widgets/palette.h); the queue only names it.
#pragma once

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

// What the colours of the send and retry buttons say.
inline constexpr int kSendingColour = colour::Cyan;         // a send run is in progress
inline constexpr int kSentColour = colour::Yellow;          // the last run has ended
inline constexpr int kFolderIndicator = colour::Neutral;    // a retry button's folder holds orders
inline constexpr int kButtonDefaultColour = colour::White;  // the button's plain face

}  // namespace sendwerk
