#include "widgets/key_codes.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

struct KeyCase {
    const char* name;
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    QString text;
    int code;
};

const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
const Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
const Qt::KeyboardModifiers kAlt = Qt::AltModifier;

// Every code the main loop, the text editor, the entry field and the browse column
// compare against, with the Qt stroke that gives it.
const KeyCase kCases[] = {
    {"Esc", Qt::Key_Escape, kNone, "\x1b", 27},
    {"Enter", Qt::Key_Return, kNone, "\r", 13},
    {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", 13},
    {"Backspace", Qt::Key_Backspace, kNone, "\b", 8},
    {"Tab", Qt::Key_Tab, kNone, "\t", 9},
    {"Shift+Tab", Qt::Key_Backtab, kShift, "", 131081},
    {"Ctrl+Backspace", Qt::Key_Backspace, kCtrl, "", 524415},
    {"Ctrl+E", Qt::Key_E, kCtrl, "\x05", 5},
    {"Ctrl+N", Qt::Key_N, kCtrl, "\x0e", 14},
    {"Ctrl+P", Qt::Key_P, kCtrl, "\x10", 16},
    {"Ctrl+S", Qt::Key_S, kCtrl, "\x13", 19},
    {"Ctrl+T", Qt::Key_T, kCtrl, "\x14", 20},
    {"Ctrl+U", Qt::Key_U, kCtrl, "\x15", 21},
    {"Ctrl+W", Qt::Key_W, kCtrl, "\x17", 23},
    {"Ctrl+Y", Qt::Key_Y, kCtrl, "\x19", 25},
    {"F1", Qt::Key_F1, kNone, "", 65648},
    {"F10", Qt::Key_F10, kNone, "", 65657},
    {"Ctrl+F1", Qt::Key_F1, kCtrl, "", 589936},
    {"Alt+F4", Qt::Key_F4, kAlt, "", 327795},
    {"Alt+C", Qt::Key_C, kAlt, "c", 327747},
    {"Alt+D", Qt::Key_D, kAlt, "d", 327748},
    {"Alt+H", Qt::Key_H, kAlt, "h", 327752},
    {"Alt+L", Qt::Key_L, kAlt, "l", 327756},
    {"Alt+W", Qt::Key_W, kAlt, "w", 327767},
    {"Left", Qt::Key_Left, kNone, "", 65573},
    {"Right", Qt::Key_Right, kNone, "", 65575},
    {"Up", Qt::Key_Up, kNone, "", 65574},
    {"Down", Qt::Key_Down, kNone, "", 65576},
    {"Home", Qt::Key_Home, kNone, "", 65572},
    {"End", Qt::Key_End, kNone, "", 65571},
    {"Page Up", Qt::Key_PageUp, kNone, "", 65569},
    {"Page Down", Qt::Key_PageDown, kNone, "", 65570},
    {"Ins", Qt::Key_Insert, kNone, "", 65581},
    {"Del", Qt::Key_Delete, kNone, "\x7f", 65582},
    {"Shift+Left", Qt::Key_Left, kShift, "", 196645},
    {"Shift+Right", Qt::Key_Right, kShift, "", 196647},
    {"Shift+Home", Qt::Key_Home, kShift, "", 196644},
    {"Shift+End", Qt::Key_End, kShift, "", 196643},
    {"Shift+Ins", Qt::Key_Insert, kShift, "", 196653},
    {"Shift+Del", Qt::Key_Delete, kShift, "", 196654},
    {"Ctrl+Left", Qt::Key_Left, kCtrl, "", 589861},
    {"Ctrl+Right", Qt::Key_Right, kCtrl, "", 589863},
    {"Ctrl+Ins", Qt::Key_Insert, kCtrl, "", 589869},
    {"Ctrl+Page Up", Qt::Key_PageUp, kCtrl, "", 589857},
    {"Ctrl+Page Down", Qt::Key_PageDown, kCtrl, "", 589858},
    {"keypad Down", Qt::Key_Down, Qt::KeypadModifier, "", 65576},
    {"space", Qt::Key_Space, kNone, " ", 32},
    {"letter", Qt::Key_A, kNone, "a", 97},
    {"capital by Shift", Qt::Key_A, kShift, "A", 65},
    {"digit", Qt::Key_7, kNone, "7", 55},
    {"umlaut", Qt::Key_Adiaeresis, kNone, QString::fromUtf8("ä"), 228},
    {"sharp s", Qt::Key_ssharp, kNone, QString::fromUtf8("ß"), 223},
    {"euro sign (Windows-1252 row 0x80)", Qt::Key_unknown, kNone, QString::fromUtf8("€"), 128},
    {"AltGr at sign, as X11 reports it", Qt::Key_At, kNone, "@", 64},
    {"character outside Windows-1252", Qt::Key_unknown, kNone, QString::fromUtf8("ж"), 0},
};

TEST(KeyCodes, EveryListedStrokeGivesItsCode) {
    for (const KeyCase& c : kCases) {
        QKeyEvent e(QEvent::KeyPress, c.qtKey, c.modifiers, c.text);
        EXPECT_EQ(keyCodeFor(e), c.code) << c.name;
    }
}

TEST(KeyCodes, PostedCodesTurnBackIntoTheSameStroke) {
    for (const KeyCase& c : kCases) {
        if (c.code == 0) continue;
        const QtKeyStroke stroke = qtKeyFor(c.code);
        EXPECT_EQ(keyCodeFor(stroke.key, stroke.modifiers, stroke.text), c.code) << c.name;
    }
}

TEST(KeyCodes, NamedConstantsHoldTheOfficesNumbers) {
    const std::pair<int, int> named[] = {
        {key::Enter, 13},
        {key::Escape, 27},
        {key::AltF4, 327795},
        {key::AltL, 327756},
        {key::CtrlF1, 589936},
        {key::ShiftTab, 131081},
        {key::F1, 65648},
        {key::F10, 65657},
        {key::AltC, 327747},
        {key::AltH, 327752},
        {key::AltW, 327767},
        {key::AltD, 327748},
        {key::CtrlE, 5},
        {key::CtrlN, 14},
        {key::CtrlW, 23},
        {key::CtrlS, 19},
        {key::CtrlP, 16},
        {key::CtrlBackspace, 524415},
        {key::CtrlPageDown, 589858},
        {key::CtrlPageUp, 589857},
        {key::ShiftDelete, 196654},
        {key::CtrlInsert, 589869},
    };
    for (const auto& [constant, number] : named) EXPECT_EQ(constant, number);
}

TEST(KeyCodes, PostedEnterAndLetterTypeTheirCharacter) {
    EXPECT_EQ(qtKeyFor(key::Enter).key, Qt::Key_Return);
    EXPECT_EQ(qtKeyFor(key::Enter).text, "\r");
    EXPECT_EQ(qtKeyFor(97).text, "a");
    EXPECT_EQ(qtKeyFor(key::AltL).key, Qt::Key_L);
    EXPECT_EQ(qtKeyFor(key::AltL).modifiers, Qt::AltModifier);
    EXPECT_EQ(qtKeyFor(0).key, Qt::Key_unknown);
    EXPECT_EQ(qtKeyFor(-5).key, Qt::Key_unknown);
}

}  // namespace
}  // namespace sendwerk
