#include "config/configuration_modes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <optional>

#include "config/dialog_test_support.h"
#include "config/text_editor.h"
#include "platform/dos_path.h"
#include "platform/file_system.h"
#include "support/temp_office.h"

namespace sendwerk {
namespace {

const QString kClosing = QStringLiteral("Das Programm wird beendet. Starten Sie es bei Bedarf neu.");
const QString kNoExport =
    QStringLiteral("Stellen Sie zunächst die MailExportdatei CMail\\NeueWMails.csv bereit!\r\nStarten Sie dann neu.");
const QString kWhitelistTitle = QStringLiteral("Whitelist der Mail-Adressen eingeben/ändern");
const QString kAddressHint = QStringLiteral("  -  STRG-W zum Speichern dieser Adressen  -  Esc-Taste zum Beenden");

TEST(StartMode, FromTheKeysHeld) {
    struct Case {
        Qt::KeyboardModifiers held;
        StartMode mode;
    };
    const Case cases[] = {
        {Qt::NoModifier, StartMode::Normal},
        {Qt::ShiftModifier, StartMode::Normal},
        {Qt::AltModifier, StartMode::Normal},
        {Qt::ShiftModifier | Qt::AltModifier, StartMode::Normal},
        {Qt::ControlModifier | Qt::ShiftModifier, StartMode::ConnectionData},
        {Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, StartMode::ConnectionData},
        {Qt::ControlModifier | Qt::AltModifier, StartMode::WhitelistImport},
        {Qt::ControlModifier, StartMode::WhitelistEdit},
    };
    for (const Case& c : cases) EXPECT_EQ(startModeFor(c.held), c.mode) << int(c.held);
}

// What the operator saw in the one editor of a mode.
struct Seen {
    QString title;
    QSize size;
    QString text;  // with CR LF line breaks
};

class ConfigurationMode : public ::testing::Test {
protected:
    // Runs `mode`; `keys` is played into the editor once it is up (with the focus in its
    // pane). Returns what the editor showed, if one opened.
    std::optional<Seen> run(StartMode mode, const QStringList& keys) { return run(mode, keys, env); }
    std::optional<Seen> run(StartMode mode, const QStringList& keys, const EditorEnvironment& on) {
        std::optional<Seen> seen;
        testing::whenDialogIsUp(&timerOwner, [&](QWidget& dialog) {
            auto* pane = dialog.findChild<QPlainTextEdit*>("editorText");
            seen = Seen{dialog.windowTitle(), dialog.size(), pane->toPlainText().replace(u'\n', "\r\n")};
            pane->setFocus();
            testing::playKeys(keys);
        });
        runConfigurationMode(mode, "C:\\ZUMA\\", on);
        return seen;
    }

    const QStringList saveAndClose = {"^W", "Esc"};
    const QStringList close = {"Esc"};

    testing::TempOffice office;
    FileSystem files{PathResolver(office.drives())};
    EventQueue events;
    VirtualClock clock;
    QStringList messages;
    EditorEnvironment env{{events, clock}, files, [this](const QString& m) { messages << m; }, {}};
    QObject timerOwner;  // a timer of a mode that opened no editor dies with the test
};

TEST_F(ConfigurationMode, ConnectionDataIsEditedInItsCopyAndTheSendRunsFileStays) {
    const QByteArray sendRunData = "smtp.example.org\nbuero\ngeheim\n587\nbuero@example.org\nantwort@example.org\n";
    office.write("ZUMA/CMail/Verbindung.dat", sendRunData);
    const std::optional<Seen> seen = run(StartMode::ConnectionData, {"Down", "neu", "^W", "Esc"});
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->title,
              "Verbindungsdaten eingeben/ändern  -  STRG-W zum Speichern dieses Textes  -  Esc-Taste zum Beenden");
    EXPECT_EQ(seen->size, QSize(800, 600));
    EXPECT_EQ(seen->text, "smtp.example.org\r\nbuero\r\ngeheim\r\n587\r\nbuero@example.org\r\nantwort@example.org\r\n");
    EXPECT_EQ(office.read("ZUMA/CMail/Verbindungs.daten"),
              "smtp.example.org\r\nneubuero\r\ngeheim\r\n587\r\nbuero@example.org\r\nantwort@example.org\r\n");
    EXPECT_EQ(office.read("ZUMA/CMail/Verbindung.dat"), sendRunData);
    EXPECT_EQ(messages, QStringList{kClosing});
}

TEST_F(ConfigurationMode, WhitelistWithLfLinesIsShownAndSavedWithCrLf) {
    office.write("ZUMA/CMail/WhiteList.mad", "a@x.de,\nb@x.de,\n");
    const std::optional<Seen> seen = run(StartMode::WhitelistEdit, saveAndClose);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->title, kWhitelistTitle + kAddressHint);
    EXPECT_EQ(seen->size, QSize(600, 600));
    EXPECT_EQ(seen->text, "a@x.de,\r\nb@x.de,\r\n");
    EXPECT_EQ(office.read("ZUMA/CMail/WhiteList.mad"), "a@x.de,\r\nb@x.de,\r\n");
    EXPECT_EQ(messages, QStringList{kClosing});
}

TEST_F(ConfigurationMode, ImportAppendsTheExportsAddressesToTheWhitelist) {
    const QByteArray header = "Nr,Name,Vorname,Ort,EMail\r\n";
    const QByteArray three = header + "1,A,B,Ort,b@x.de\r\n2,C,D,Ort\r\n3,E,F,Ort,c@x.de\r\n4,G,H,Ort,d\xFC@x.de\r\n";
    struct Case {
        const char* name;
        std::optional<QByteArray> whitelist;
        QByteArray exportText;
        bool save;
        QString shown;
        QByteArray whitelistAfter;
    };
    const Case cases[] = {
        {"header only", QByteArray("a@x.de,\r\n"), header, false, "a@x.de,\r\n", "a@x.de,\r\n"},
        {"three records, closed without saving", QByteArray("a@x.de,\r\n"), three, false,
         QString::fromUtf8("a@x.de,\r\nb@x.de,\r\nc@x.de,\r\ndü@x.de,\r\n"), "a@x.de,\r\n"},
        {"three records after a whitelist without its last line break", QByteArray("a@x.de,"), three, true,
         QString::fromUtf8("a@x.de,b@x.de,\r\nc@x.de,\r\ndü@x.de,\r\n"),
         "a@x.de,b@x.de,\r\nc@x.de,\r\nd\xFC@x.de,\r\n"},
        {"no whitelist yet", std::nullopt, three, true, QString::fromUtf8("b@x.de,\r\nc@x.de,\r\ndü@x.de,\r\n"),
         "b@x.de,\r\nc@x.de,\r\nd\xFC@x.de,\r\n"},
    };
    for (const Case& c : cases) {
        testing::TempOffice fresh;
        FileSystem freshFiles{PathResolver(fresh.drives())};
        EditorEnvironment freshEnv{{events, clock}, freshFiles, [this](const QString& m) { messages << m; }, {}};
        messages.clear();
        if (c.whitelist) fresh.write("ZUMA/CMail/WhiteList.mad", *c.whitelist);
        fresh.write("ZUMA/CMail/NeueWMails.csv", c.exportText);

        const std::optional<Seen> seen = run(StartMode::WhitelistImport, c.save ? saveAndClose : close, freshEnv);
        ASSERT_TRUE(seen) << c.name;
        EXPECT_EQ(seen->title, kWhitelistTitle + kAddressHint) << c.name;
        EXPECT_EQ(seen->text, c.shown) << c.name;
        EXPECT_EQ(fresh.read("ZUMA/CMail/WhiteList.mad"), c.whitelistAfter) << c.name;
        EXPECT_EQ(fresh.read("ZUMA/CMail/NeueWMails.old"), c.exportText) << c.name;
        EXPECT_FALSE(fresh.exists("ZUMA/CMail/NeueWMails.csv")) << c.name;
        EXPECT_EQ(messages, QStringList{kClosing}) << c.name;
    }
}

TEST_F(ConfigurationMode, ImportWithoutExportFileEndsAfterItsMessage) {
    office.write("ZUMA/CMail/WhiteList.mad", "a@x.de,\r\n");
    EXPECT_FALSE(run(StartMode::WhitelistImport, close));
    EXPECT_EQ(messages, QStringList{kNoExport});
    EXPECT_FALSE(office.exists("ZUMA/CMail/NeueWMails.old"));
    EXPECT_EQ(office.read("ZUMA/CMail/WhiteList.mad"), "a@x.de,\r\n");
}

TEST_F(ConfigurationMode, AnExportThatCannotBeSetAsideStaysAndIsSaid) {
    const QByteArray exportText = "Nr,Name,Vorname,Ort,EMail\r\n1,A,B,Ort,b@x.de\r\n";
    office.write("ZUMA/CMail/NeueWMails.csv", exportText);
    office.makeFolder("ZUMA/CMail/NeueWMails.old");
    const std::optional<Seen> seen = run(StartMode::WhitelistImport, saveAndClose);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, "b@x.de,\r\n");
    EXPECT_EQ(office.read("ZUMA/CMail/NeueWMails.csv"), exportText);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].endsWith("Die MailExportdatei CMail\\NeueWMails.csv bleibt erhalten."))
        << messages[0].toStdString();
    EXPECT_EQ(messages[1], kClosing);
}

}  // namespace
}  // namespace sendwerk
