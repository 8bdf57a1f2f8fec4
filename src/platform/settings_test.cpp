#include "platform/settings.h"

#include "support/temp_office.h"

#include <QDir>

#include <gtest/gtest.h>

#include <optional>

namespace sendwerk {
namespace {

using testing::TempOffice;

// Sets an environment variable for the life of the object, restoring the old state.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, std::optional<QByteArray> value) : name_(name) {
        if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~ScopedEnvironment() {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

TEST(Settings, ReadsEveryKeyWithBackslashesAndCommasIntact) {
    TempOffice office;
    office.write("sendwerk.conf",
                 "; Sendwerk on this desk\n"
                 "[drives]\n"
                 "C=/srv/zuma\n"
                 "t = /mnt/server/zuma, alt\n"
                 "d:=/srv/daten\n"
                 "CC=/not/a/drive\n"
                 "[programs]\n"
                 "editor=gnome-text-editor --wait \"/opt/my files/x\"\n"
                 "textprinter=|lp -d office;raw\n"
                 "textcodepage=1252\n"
                 "pageprinter=/srv/ausdrucke/seiten.pdf\n"
                 "[tables]\n"
                 "orderfolder=C:\\ZUMA\\\n"
                 "[mail]\n"
                 "# a comment\n"
                 "cafile=\"/etc/sendwerk/office-ca.pem\"\n"
                 "reportto=it@buero.example\n");
    const Settings settings = Settings::fromFile(office.native("sendwerk.conf"));
    EXPECT_EQ(settings.drives.value(QChar('C')), "/srv/zuma");
    EXPECT_EQ(settings.drives.value(QChar('T')), "/mnt/server/zuma, alt");
    EXPECT_EQ(settings.drives.value(QChar('D')), "/srv/daten");
    EXPECT_EQ(settings.drives.size(), 3);
    EXPECT_EQ(settings.editor, (QStringList{"gnome-text-editor", "--wait", "/opt/my files/x"}));
    EXPECT_EQ(settings.textPrinter, "|lp -d office;raw");
    EXPECT_EQ(settings.textCodePage, "1252");
    EXPECT_EQ(settings.pagePrinter, "/srv/ausdrucke/seiten.pdf");
    EXPECT_EQ(settings.orderTableFolder, "C:\\ZUMA\\");
    EXPECT_EQ(settings.caFile, "/etc/sendwerk/office-ca.pem");
    EXPECT_EQ(settings.errorReportAddress, "it@buero.example");
    EXPECT_EQ(settings.origin(), "Einstellungen aus " + office.native("sendwerk.conf"));
}

TEST(Settings, ErrorReportsGoToTheUsualAddressUnlessTheFileNamesOne) {
    TempOffice office;
    office.write("s.conf", "[mail]\nreportto=\n");
    EXPECT_EQ(Settings::fromFile(office.native("s.conf")).errorReportAddress, "sendwerk-fehler@localhost");
    EXPECT_EQ(Settings{}.errorReportAddress, "sendwerk-fehler@localhost");
}

TEST(Settings, OrderFolderGetsItsClosingBackslash) {
    struct Case {
        const char* written;
        const char* expected;
    } cases[] = {{"C:\\ZUMA\\", "C:\\ZUMA\\"}, {"C:\\ZUMA", "C:\\ZUMA\\"}, {"T:\\A\\B/", "T:\\A\\B/"}, {"", ""}};
    for (const Case& c : cases) {
        TempOffice office;
        office.write("s.conf", QByteArray("[tables]\norderfolder=") + c.written + "\n");
        EXPECT_EQ(Settings::fromFile(office.native("s.conf")).orderTableFolder, c.expected) << c.written;
    }
}

// A settle time the file cannot give (no number, negative) keeps the 2 seconds.
TEST(Settings, SettleTimeOfTheQueue) {
    struct Case {
        const char* written;
        double expected;
    } cases[] = {{"settle=5", 5}, {"settle=0.5", 0.5}, {"settle=0", 0}, {"settle=-1", 2}, {"settle=bald", 2}, {"", 2}};
    for (const Case& c : cases) {
        TempOffice office;
        office.write("s.conf", QByteArray("[queue]\n") + c.written + "\n");
        EXPECT_DOUBLE_EQ(Settings::fromFile(office.native("s.conf")).settleSeconds, c.expected) << c.written;
    }
}

TEST(Settings, MissingOrBrokenFileGivesEmptySettings) {
    TempOffice office;
    office.write("broken.conf", "[drives\nC\n=/x\nno equals here\n");
    for (const QString& path : {office.native("missing.conf"), office.native("broken.conf")}) {
        const Settings settings = Settings::fromFile(path);
        EXPECT_TRUE(settings.drives.isEmpty()) << path.toStdString();
        EXPECT_TRUE(settings.editor.isEmpty()) << path.toStdString();
        EXPECT_TRUE(settings.orderTableFolder.isEmpty()) << path.toStdString();
        EXPECT_TRUE(settings.pagePrinter.isEmpty()) << path.toStdString();  // the default printer
        EXPECT_EQ(settings.textCodePage, "850") << path.toStdString();
    }
}

TEST(Settings, LocateFollowsTheSearchOrder) {
    TempOffice office;
    office.write("explicit.conf", "[drives]\nC=/explicit\n");
    office.write("xdg/sendwerk/sendwerk.conf", "[drives]\nC=/xdg\n");
    office.write("home/.config/sendwerk/sendwerk.conf", "[drives]\nC=/home\n");
    office.makeFolder("empty");
    const bool systemFile = QFileInfo::exists("/etc/sendwerk/sendwerk.conf");
    const QString lastResort = systemFile ? "/etc/sendwerk/sendwerk.conf" : "";
    struct Case {
        std::optional<QString> config, xdg;
        QString home;
        QString expected;
    } cases[] = {
        {office.native("explicit.conf"), office.native("xdg"), office.native("home"), office.native("explicit.conf")},
        {std::nullopt, office.native("xdg"), office.native("home"), office.native("xdg/sendwerk/sendwerk.conf")},
        {QString(""), office.native("xdg"), office.native("home"), office.native("xdg/sendwerk/sendwerk.conf")},
        {std::nullopt, std::nullopt, office.native("home"), office.native("home/.config/sendwerk/sendwerk.conf")},
        {std::nullopt, QString("relative/dir"), office.native("home"),
         office.native("home/.config/sendwerk/sendwerk.conf")},
        {std::nullopt, office.native("empty"), office.native("empty"), lastResort},
    };
    for (const Case& c : cases) {
        auto bytes = [](const std::optional<QString>& v) {
            return v ? std::optional<QByteArray>(v->toLocal8Bit()) : std::nullopt;
        };
        ScopedEnvironment config("SENDWERK_CONFIG", bytes(c.config));
        ScopedEnvironment xdg("XDG_CONFIG_HOME", bytes(c.xdg));
        ScopedEnvironment home("HOME", c.home.toLocal8Bit());
        const std::string what =
            c.config.value_or("(unset)").toStdString() + " / " + c.xdg.value_or("(unset)").toStdString();
        ASSERT_TRUE(Settings::locate().ok()) << what;
        EXPECT_EQ(Settings::locate().value(), c.expected) << what;
        const Result<Settings> loaded = Settings::load();
        ASSERT_TRUE(loaded.ok()) << what;
        EXPECT_EQ(loaded->file, c.expected) << what;
        if (!c.expected.isEmpty() && c.expected != lastResort) {
            EXPECT_EQ(loaded->drives.size(), 1) << what;
        }
    }
}

TEST(Settings, NoFileFoundNamesTheThreePlacesSearched) {
    if (QFileInfo::exists("/etc/sendwerk/sendwerk.conf")) GTEST_SKIP() << "this machine has a system-wide file";
    TempOffice office;
    office.makeFolder("empty");
    ScopedEnvironment config("SENDWERK_CONFIG", std::nullopt);
    ScopedEnvironment xdg("XDG_CONFIG_HOME", office.native("empty").toLocal8Bit());
    const Result<Settings> loaded = Settings::load();
    ASSERT_TRUE(loaded.ok());
    EXPECT_TRUE(loaded->drives.isEmpty());
    EXPECT_EQ(loaded->origin(),
              "Keine Einstellungsdatei gefunden, kein Laufwerk zugeordnet; gesucht: "
              "$SENDWERK_CONFIG (nicht gesetzt), " +
                  office.native("empty/sendwerk/sendwerk.conf") + ", /etc/sendwerk/sendwerk.conf");
}

TEST(Settings, ANamedFileThatIsMissingIsAnErrorNotEmptySettings) {
    TempOffice office;
    office.write("xdg/sendwerk/sendwerk.conf", "[drives]\nC=/xdg\n");
    ScopedEnvironment config("SENDWERK_CONFIG", office.native("missing.conf").toLocal8Bit());
    ScopedEnvironment xdg("XDG_CONFIG_HOME", office.native("xdg").toLocal8Bit());
    const Result<Settings> loaded = Settings::load();
    ASSERT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.cause(),
              "Die Einstellungsdatei " + office.native("missing.conf") + " (SENDWERK_CONFIG) gibt es nicht.");
}

}  // namespace
}  // namespace sendwerk
