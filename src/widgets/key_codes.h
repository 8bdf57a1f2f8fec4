// The office's key codes: the first parameter of every keyboard event the loops see.
// One rule, one table: a character key gives its character code (Windows-1252, 32..255);
// Ctrl with a letter gives the control character (Ctrl+E = 5); every other key gives
// 0x10000 plus its Windows virtual-key number (Left 0x25, F1 0x70); Shift adds 0x20000,
// Alt 0x40000, Ctrl 0x80000. Alt with a letter is a virtual key too (Alt+L = 327756).
// keyCodeFor() turns a Qt key stroke into a code; qtKeyFor() goes back, so a posted
// keyboard event can be handed to a Qt widget. Pure functions, any thread.
#pragma once

#include <Qt>
#include <QString>

class QEvent;
class QKeyEvent;

namespace sendwerk {

namespace key {

inline constexpr int VirtualKey = 0x10000;
inline constexpr int ShiftBit = 0x20000;
inline constexpr int AltBit = 0x40000;
inline constexpr int CtrlBit = 0x80000;

constexpr int virtualKey(int windowsVk) { return VirtualKey + windowsVk; }
constexpr int ctrlLetter(char upper) { return upper - 'A' + 1; }
constexpr int altLetter(char upper) { return AltBit + VirtualKey + upper; }

// Character keys and their control characters.
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int CtrlBackspace = CtrlBit + 127;
inline constexpr int ShiftTab = ShiftBit + Tab;

inline constexpr int CtrlE = ctrlLetter('E');
inline constexpr int CtrlN = ctrlLetter('N');
inline constexpr int CtrlP = ctrlLetter('P');
inline constexpr int CtrlS = ctrlLetter('S');
inline constexpr int CtrlT = ctrlLetter('T');
inline constexpr int CtrlU = ctrlLetter('U');
inline constexpr int CtrlW = ctrlLetter('W');
inline constexpr int CtrlY = ctrlLetter('Y');

// Cursor and editing keys.
inline constexpr int PageUp = virtualKey(0x21);
inline constexpr int PageDown = virtualKey(0x22);
inline constexpr int End = virtualKey(0x23);
inline constexpr int Home = virtualKey(0x24);
inline constexpr int Left = virtualKey(0x25);
inline constexpr int Up = virtualKey(0x26);
inline constexpr int Right = virtualKey(0x27);
inline constexpr int Down = virtualKey(0x28);
inline constexpr int Insert = virtualKey(0x2D);
inline constexpr int Delete = virtualKey(0x2E);

inline constexpr int ShiftLeft = ShiftBit + Left;
inline constexpr int ShiftRight = ShiftBit + Right;
inline constexpr int ShiftHome = ShiftBit + Home;
inline constexpr int ShiftEnd = ShiftBit + End;
inline constexpr int ShiftInsert = ShiftBit + Insert;
inline constexpr int ShiftDelete = ShiftBit + Delete;
inline constexpr int CtrlLeft = CtrlBit + Left;
inline constexpr int CtrlRight = CtrlBit + Right;
inline constexpr int CtrlInsert = CtrlBit + Insert;
inline constexpr int CtrlPageUp = CtrlBit + PageUp;
inline constexpr int CtrlPageDown = CtrlBit + PageDown;

// Function keys.
inline constexpr int F1 = virtualKey(0x70);
inline constexpr int F10 = virtualKey(0x79);
inline constexpr int CtrlF1 = CtrlBit + F1;
inline constexpr int AltF4 = AltBit + virtualKey(0x73);

// Alt with a letter.
inline constexpr int AltC = altLetter('C');
inline constexpr int AltD = altLetter('D');
inline constexpr int AltH = altLetter('H');
inline constexpr int AltL = altLetter('L');
inline constexpr int AltW = altLetter('W');

}  // namespace key

// The code of one key stroke; 0 when the stroke has none (a character outside
// Windows-1252, an unknown key). `text` is what the key types, as Qt reports it.
int keyCodeFor(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
int keyCodeFor(const QKeyEvent& event);

// A press of Tab or Shift+Tab: Qt spends these on moving the focus before a widget's
// own key handling sees them, so a part that takes them as keys asks here first.
bool isTabPress(const QEvent& event);

// A Qt key stroke that gives `code`; key Qt::Key_unknown when no key gives it.
struct QtKeyStroke {
    int key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString text;
};
QtKeyStroke qtKeyFor(int code);

}  // namespace sendwerk
