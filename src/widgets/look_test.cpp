// Colours, fonts and y-up placement.
#include "widgets/fonts.h"
#include "widgets/geometry.h"
#include "widgets/palette.h"
#include "widgets/presentation.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(Palette, NumbersGiveTheirColours) {
    const std::pair<int, QRgb> fixed[] = {
        {0, 0xFFFFFF},  {1, 0x0000FF},  {2, 0xFF0000},  {3, 0xFF00FF},  {4, 0x00FF00},  {5, 0x00FFFF},
        {6, 0xFFFF00},  {7, 0x000000},  {8, 0x808080},  {9, 0x000080},  {10, 0x800000}, {11, 0x800080},
        {12, 0x008000}, {13, 0x008080}, {14, 0x808000}, {15, 0xC0C0C0}, {-1, 0x000000}, {-2, 0xFFFFFF},
    };
    for (const auto& [number, rgb] : fixed) EXPECT_EQ(paletteColor(number).rgb() & 0xFFFFFF, rgb) << number;

    const QPalette desktop = QApplication::palette();
    EXPECT_EQ(paletteColor(-39), desktop.color(QPalette::Active, QPalette::Dark));
    EXPECT_EQ(paletteColor(-47), desktop.color(QPalette::Active, QPalette::Base));
    EXPECT_NE(paletteColor(-39), paletteColor(0));
    EXPECT_EQ(paletteColor(99), desktop.color(QPalette::Active, QPalette::Window));
    EXPECT_EQ(paletteColor(-5), desktop.color(QPalette::Active, QPalette::Window));
}

TEST(Fonts, CompoundNamesAreTakenApart) {
    const struct {
        const char* name;
        int size;
        const char* face;
        bool bold;
        bool italic;
    } cases[] = {
        {"12. consolas", 12, "consolas", false, false},
        {"10.Times New Roman", 10, "Times New Roman", false, false},
        {"10.COURIER NEW", 10, "COURIER NEW", false, false},
        {"11.CONSOLAS", 11, "CONSOLAS", false, false},
        {"10.Arial Bold", 10, "Arial", true, false},
        {"9.Arial bold italic", 9, "Arial", true, true},
        {"Bold", 0, "Bold", false, false},
        {"x.Arial", 0, "Arial", false, false},
        {"0.Arial", 0, "Arial", false, false},
        {"", 0, "", false, false},
    };
    for (const auto& c : cases) {
        const CompoundFontName parsed = parseCompoundFontName(QString::fromUtf8(c.name));
        EXPECT_EQ(parsed.pointSize, c.size) << c.name;
        EXPECT_EQ(parsed.face, QString::fromUtf8(c.face)) << c.name;
        EXPECT_EQ(parsed.bold, c.bold) << c.name;
        EXPECT_EQ(parsed.italic, c.italic) << c.name;
    }
}

TEST(Fonts, MissingFacesFallBackToInstalledLookAlikes) {
    const QStringList families = QFontDatabase::families();
    const struct {
        const char* name;
        int size;
        bool fixedPitch;
    } cases[] = {
        {"12. consolas", 12, true},
        {"11.CONSOLAS", 11, true},
        {"10.COURIER NEW", 10, true},
        {"10.Times New Roman", 10, false},
    };
    for (const auto& c : cases) {
        const QFont font = fontFromCompoundName(QString::fromUtf8(c.name));
        EXPECT_TRUE(families.contains(font.family())) << c.name << " -> " << font.family().toStdString();
        EXPECT_EQ(font.pointSize(), c.size) << c.name;
        EXPECT_EQ(QFontDatabase::isFixedPitch(font.family()), c.fixedPitch) << c.name;
    }
    // fonts-liberation is installed by scripts/install-deps.
    EXPECT_EQ(installedFamilyFor("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(installedFamilyFor("courier new"), "Liberation Mono");
    EXPECT_EQ(installedFamilyFor("Arial"), "Liberation Sans");
    EXPECT_EQ(installedFamilyFor("dejavu sans mono"), "DejaVu Sans Mono");
}

TEST(Geometry, YUpPositionsTurnIntoQtRectanglesAndBack) {
    const struct {
        QPoint yUp;
        QSize size;
        int parentHeight;
        QRect qt;
    } cases[] = {
        {{12, 48}, {384, 648}, 750, {12, 54, 384, 648}},  // the outbox pane at 1200 x 750
        {{36, 11}, {54, 26}, 750, {36, 713, 54, 26}},     // the emergency stop button
        {{0, 0}, {10, 10}, 10, {0, 0, 10, 10}},
        {{5, 0}, {10, 3}, 100, {5, 97, 10, 3}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qtRectFromYUp(c.yUp, c.size, c.parentHeight), c.qt);
        EXPECT_EQ(yUpPositionOf(c.qt, c.parentHeight), c.yUp);
    }
}

TEST(Geometry, PlacingInAParentCountsFromItsBottom) {
    QWidget parent;
    parent.resize(1200, 750);
    QWidget child(&parent);
    placeYUp(child, {1098, 11}, {54, 26});
    EXPECT_EQ(child.geometry(), QRect(1098, 713, 54, 26));
}

TEST(Geometry, ScreenCenterDividesExactly) {
    QWidget parent;
    parent.resize(300, 200);
    QWidget child(&parent);
    child.resize(101, 51);
    const QPointF untouched = ScreenCenter(child, false);
    EXPECT_DOUBLE_EQ(untouched.x(), 99.5);
    EXPECT_DOUBLE_EQ(untouched.y(), 74.5);
    EXPECT_EQ(child.pos(), QPoint(0, 0));

    child.resize(100, 50);
    EXPECT_EQ(ScreenCenter(child, true), QPointF(100, 75));
    EXPECT_EQ(child.pos(), QPoint(100, 75));
}

TEST(Geometry, ScreenCenterPutsAWindowInTheMiddleOfTheDesktop) {
    QWidget window;
    window.resize(200, 100);
    const QRect desktop = window.screen()->geometry();
    const QPointF at = ScreenCenter(window, true);
    EXPECT_DOUBLE_EQ(at.x(), (desktop.width() - 200) / 2.0);
    EXPECT_DOUBLE_EQ(at.y(), (desktop.height() - 100) / 2.0);
    EXPECT_EQ(window.pos(), desktop.topLeft() + QPoint(int(at.x()), int(at.y())));
}

TEST(Presentation, SettingsColourFontAndActiveColour) {
    QWidget w;
    applyPresentation(w, {{presentation::TextColour, colour::Blue},
                          {presentation::Background, colour::DarkPink},
                          {presentation::Font, QStringLiteral("12. consolas")},
                          {presentation::ActiveColour, colour::Yellow},
                          {77, 1}});
    EXPECT_EQ(w.palette().color(QPalette::WindowText), paletteColor(colour::Blue));
    EXPECT_EQ(w.palette().color(QPalette::Window), paletteColor(colour::DarkPink));
    EXPECT_TRUE(w.autoFillBackground());
    EXPECT_EQ(w.font().pointSize(), 12);
    EXPECT_EQ(w.property("activeColour").toInt(), colour::Yellow);
}

}  // namespace
}  // namespace sendwerk
