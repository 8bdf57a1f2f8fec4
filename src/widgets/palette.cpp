#include "widgets/palette.h"

#include <QApplication>
#include <QPalette>

#include <array>

namespace sendwerk {

QColor paletteColor(int number) {
    static constexpr std::array<QRgb, 16> kFixed{
        0xFFFFFF,  // 0 default background
        0x0000FF,  // 1 blue
        0xFF0000,  // 2 red
        0xFF00FF,  // 3 pink
        0x00FF00,  // 4 green
        0x00FFFF,  // 5 cyan
        0xFFFF00,  // 6 yellow
        0x000000,  // 7 neutral
        0x808080,  // 8 dark grey
        0x000080,  // 9 dark blue
        0x800000,  // 10 dark red
        0x800080,  // 11 dark pink
        0x008000,  // 12 dark green
        0x008080,  // 13 dark cyan
        0x808000,  // 14 brown
        0xC0C0C0,  // 15 pale grey
    };
    if (number >= 0 && number < int(kFixed.size())) return QColor(kFixed[std::size_t(number)]);
    const QPalette desktop = QApplication::palette();
    switch (number) {
    case colour::PlainBlack: return Qt::black;
    case colour::PlainWhite: return Qt::white;
    case colour::ButtonDarkShade: return desktop.color(QPalette::Active, QPalette::Dark);
    case colour::EntryFieldBackground: return desktop.color(QPalette::Active, QPalette::Base);
    default: return desktop.color(QPalette::Active, QPalette::Window);
    }
}

bool isDark(const QColor& background) {
    // Perceived brightness (ITU-R BT.601 weights): pure green counts as light, dark
    // blue as dark, whatever their sum of channels says.
    const double brightness = 0.299 * background.redF() + 0.587 * background.greenF() + 0.114 * background.blueF();
    return brightness < 0.45;
}

}  // namespace sendwerk
