#include "config/dialog_window.h"

#include <gtest/gtest.h>

#include <string>

namespace sendwerk {
namespace {

TEST(DialogLayout, NumbersFollowTheDesktopWidth) {
    const struct {
        int desktopWidth, ownerWidth, width, height;
        QRect pane;
        QPointF button;
        QSize buttonSize;
        std::optional<QPointF> window;
    } cases[] = {
        // The send run's call on an 800 pixel wide desktop.
        {800, 1200, 500, 500, {30, 40, 440, 430}, {214, 12}, {72, 24}, std::nullopt},
        // nV = 2.4: INT(172.8) = 172, INT(57.6) = 57, INT(28.8) = 28.
        {1920, 1200, 500, 500, {72, 96, 356, 332}, {164, 28}, {172, 57}, std::nullopt},
        // 800 x 600 gets its own position: half the owner's width, INT(20 x nV) up.
        {800, 1200, 800, 600, {30, 40, 740, 530}, {364, 12}, {72, 24}, QPointF(600, 20)},
        {1366, 1201, 800, 600, {51, 68, 698, 481}, {339, 20}, {122, 40}, QPointF(600.5, 34)},
        // The whitelist editor.
        {1280, 1280, 600, 600, {48, 64, 600 - 96, 600 - 112}, {242.5, 19}, {115, 38}, std::nullopt},
        // The button's x is divided exactly.
        {1000, 800, 501, 500, {37, 50, 501 - 75, 500 - 87}, {205.5, 15}, {90, 30}, std::nullopt},
        // The height does not scale the layout.
        {800, 800, 800, 601, {30, 40, 740, 531}, {364, 12}, {72, 24}, std::nullopt},
    };
    for (const auto& c : cases) {
        const DialogLayout l = dialogLayout(c.desktopWidth, c.ownerWidth, c.width, c.height);
        const auto name =
            std::to_string(c.desktopWidth) + " / " + std::to_string(c.width) + "x" + std::to_string(c.height);
        EXPECT_EQ(l.pane, c.pane) << name;
        EXPECT_DOUBLE_EQ(l.buttonPosition.x(), c.button.x()) << name;
        EXPECT_DOUBLE_EQ(l.buttonPosition.y(), c.button.y()) << name;
        EXPECT_EQ(l.buttonSize, c.buttonSize) << name;
        EXPECT_EQ(l.windowPosition, c.window) << name;
    }
}

TEST(DialogTitle, TheHintFollowsDatOrMadInAnyLetterCase) {
    const QString text = QStringLiteral("  -  STRG-W zum Speichern dieses Textes  -  Esc-Taste zum Beenden");
    const QString addresses = QStringLiteral("  -  STRG-W zum Speichern dieser Adressen  -  Esc-Taste zum Beenden");
    const struct {
        const char* subject;
        TitleHints hints;
        QString hint;
    } cases[] = {
        {"Verbindung.dat fehlt", TitleHints::TextOnly, text},
        {"C:\\ZUMA\\CMAIL\\VERBINDUNG.DAT", TitleHints::TextOnly, text},
        {"x.Dat", TitleHints::TextOnly, text},
        {"Daten ohne Punkt", TitleHints::TextOnly, {}},
        {"", TitleHints::TextOnly, {}},
        {"Probleme beim Senden!", TitleHints::TextOnly, {}},
        // The message dialog knows no address hint.
        {"C:\\ZUMA\\CMail\\WhiteList.mad", TitleHints::TextOnly, {}},
        // The editor's paths: the connection data's edit copy, the whitelist, help and order files.
        {"C:\\ZUMA\\CMail\\Verbindungs.daten", TitleHints::TextOrAddresses, text},
        {"C:\\ZUMA\\CMail\\WhiteList.mad", TitleHints::TextOrAddresses, addresses},
        {"C:\\ZUMA\\CMail\\F1.txt", TitleHints::TextOrAddresses, {}},
        {"C:\\ZUMA\\CMail\\Ausgang\\failure\\Sterbefall_1_2024-07-15.ausg", TitleHints::TextOrAddresses, {}},
        // ".DAT" wins when both occur.
        {"C:\\X.MAD\\Y.DAT", TitleHints::TextOrAddresses, text},
    };
    for (const auto& c : cases)
        EXPECT_EQ(titleWithHint("Titel", QString::fromUtf8(c.subject), c.hints), "Titel" + c.hint) << c.subject;
}

}  // namespace
}  // namespace sendwerk
