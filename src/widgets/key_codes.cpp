#include "widgets/key_codes.h"

#include <QKeyEvent>

#include <array>

namespace sendwerk {
namespace {

struct VirtualKeyRow {
    int qtKey;
    int windowsVk;
};

// Keys that are not characters, with their Windows virtual-key numbers. Letters and
// digits need no rows: their virtual-key number is their upper-case ASCII code.
constexpr std::array kVirtualKeys{
    VirtualKeyRow{Qt::Key_Cancel, 0x03},   VirtualKeyRow{Qt::Key_Clear, 0x0C},
    VirtualKeyRow{Qt::Key_Shift, 0x10},    VirtualKeyRow{Qt::Key_Control, 0x11},
    VirtualKeyRow{Qt::Key_Alt, 0x12},      VirtualKeyRow{Qt::Key_Pause, 0x13},
    VirtualKeyRow{Qt::Key_CapsLock, 0x14}, VirtualKeyRow{Qt::Key_PageUp, 0x21},
    VirtualKeyRow{Qt::Key_PageDown, 0x22}, VirtualKeyRow{Qt::Key_End, 0x23},
    VirtualKeyRow{Qt::Key_Home, 0x24},     VirtualKeyRow{Qt::Key_Left, 0x25},
    VirtualKeyRow{Qt::Key_Up, 0x26},       VirtualKeyRow{Qt::Key_Right, 0x27},
    VirtualKeyRow{Qt::Key_Down, 0x28},     VirtualKeyRow{Qt::Key_Select, 0x29},
    VirtualKeyRow{Qt::Key_Print, 0x2C},    VirtualKeyRow{Qt::Key_Insert, 0x2D},
    VirtualKeyRow{Qt::Key_Delete, 0x2E},   VirtualKeyRow{Qt::Key_Help, 0x2F},
    VirtualKeyRow{Qt::Key_Meta, 0x5B},     VirtualKeyRow{Qt::Key_Menu, 0x5D},
    VirtualKeyRow{Qt::Key_NumLock, 0x90},  VirtualKeyRow{Qt::Key_ScrollLock, 0x91},
};

constexpr int kFirstFunctionVk = 0x70;  // F1; F1..F24 follow one another

// Keys that type a character of their own and keep their modifiers.
struct CharacterKeyRow {
    int qtKey;
    int code;
};
constexpr std::array kCharacterKeys{
    CharacterKeyRow{Qt::Key_Backspace, key::Backspace}, CharacterKeyRow{Qt::Key_Tab, key::Tab},
    CharacterKeyRow{Qt::Key_Backtab, key::Tab},         CharacterKeyRow{Qt::Key_Return, key::Enter},
    CharacterKeyRow{Qt::Key_Enter, key::Enter},         CharacterKeyRow{Qt::Key_Escape, key::Escape},
};

int modifierBits(Qt::KeyboardModifiers modifiers) {
    int bits = 0;
    if (modifiers & Qt::ShiftModifier) bits += key::ShiftBit;
    if (modifiers & Qt::AltModifier) bits += key::AltBit;
    if (modifiers & Qt::ControlModifier) bits += key::CtrlBit;
    return bits;
}

int windowsVkOf(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kFirstFunctionVk + (qtKey - Qt::Key_F1);
    for (const auto& row : kVirtualKeys)
        if (row.qtKey == qtKey) return row.windowsVk;
    return 0;
}

int qtKeyOfVk(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return vk;
    if (vk >= kFirstFunctionVk && vk < kFirstFunctionVk + 24) return Qt::Key_F1 + (vk - kFirstFunctionVk);
    for (const auto& row : kVirtualKeys)
        if (row.windowsVk == vk) return row.qtKey;
    return Qt::Key_unknown;
}

// Row 0x80..0x9F of Windows-1252; 0 where the page has no character.
constexpr std::array<char16_t, 32> kAnsiHighRow{0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The Windows-1252 code of one typed character, 0 when 1252 has none.
int ansiCodeOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (std::size_t i = 0; i < kAnsiHighRow.size(); ++i)
        if (kAnsiHighRow[i] != 0 && kAnsiHighRow[i] == u) return int(0x80 + i);
    return 0;
}

// The character of a Windows-1252 code (0x20..0xFF); null where the page has none.
QChar charOfAnsiCode(int code) {
    if (code >= 0x80 && code < 0xA0) return QChar(kAnsiHighRow[std::size_t(code - 0x80)]);
    return QChar(code);
}

}  // namespace

int keyCodeFor(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const bool shift = modifiers & Qt::ShiftModifier;

    for (const auto& row : kCharacterKeys) {
        if (row.qtKey != qtKey) continue;
        Qt::KeyboardModifiers mods = modifiers;
        if (qtKey == Qt::Key_Backtab) mods |= Qt::ShiftModifier;
        // Ctrl+Backspace types DEL on the office's keyboards.
        const int base = (qtKey == Qt::Key_Backspace && ctrl) ? 127 : row.code;
        return base + modifierBits(mods);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z && ctrl && !alt)
        return key::ctrlLetter(char(qtKey)) + (shift ? key::ShiftBit : 0);

    // A typed character: AltGr arrives as no modifier on X11 and as Ctrl+Alt elsewhere.
    const bool typing = !text.isEmpty() && text.at(0).isPrint() && (ctrl == alt);
    if (typing) return ansiCodeOf(text.at(0));

    const int vk = windowsVkOf(qtKey);
    if (vk != 0) return key::VirtualKey + vk + modifierBits(modifiers);
    if (qtKey == Qt::Key_Space) return key::Space + modifierBits(modifiers & ~Qt::ShiftModifier);
    return 0;
}

int keyCodeFor(const QKeyEvent& event) {
    return keyCodeFor(event.key(), event.modifiers() & ~Qt::KeypadModifier, event.text());
}

QtKeyStroke qtKeyFor(int code) {
    QtKeyStroke stroke;
    if (code <= 0) return stroke;
    int rest = code;
    if (rest >= key::CtrlBit) {
        stroke.modifiers |= Qt::ControlModifier;
        rest -= key::CtrlBit;
    }
    if (rest >= key::AltBit) {
        stroke.modifiers |= Qt::AltModifier;
        rest -= key::AltBit;
    }
    if (rest >= key::ShiftBit) {
        stroke.modifiers |= Qt::ShiftModifier;
        rest -= key::ShiftBit;
    }

    if (rest >= key::VirtualKey) {
        stroke.key = qtKeyOfVk(rest - key::VirtualKey);
        return stroke;
    }
    if (rest == 127 && (stroke.modifiers & Qt::ControlModifier)) {
        stroke.key = Qt::Key_Backspace;
        return stroke;
    }
    for (const auto& row : kCharacterKeys) {
        if (row.code != rest) continue;
        if (rest == key::Tab && (stroke.modifiers & Qt::ShiftModifier)) {
            stroke.key = Qt::Key_Backtab;
        } else {
            stroke.key = row.qtKey;
            stroke.text = QString(QChar(rest));
        }
        return stroke;
    }
    if (rest >= 1 && rest <= 26) {
        stroke.key = Qt::Key_A + rest - 1;
        stroke.modifiers |= Qt::ControlModifier;
        stroke.text = QString(QChar(rest));
        return stroke;
    }
    if (rest == key::Space) {
        stroke.key = Qt::Key_Space;
        stroke.text = QStringLiteral(" ");
        return stroke;
    }
    if (rest > key::Space && rest <= 0xFF) {
        const QChar c = charOfAnsiCode(rest);
        if (c.isNull()) return stroke;
        stroke.text = QString(c);
        const char16_t upper = c.toUpper().unicode();
        // Qt names the keys of Latin-1 letters by their upper-case code.
        stroke.key = upper <= 0xFF ? int(upper) : int(Qt::Key_unknown);
    }
    return stroke;
}

bool isTabPress(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const int k = static_cast<const QKeyEvent&>(event).key();
    return k == Qt::Key_Tab || k == Qt::Key_Backtab;
}

}  // namespace sendwerk
