// Every program as a shell user first meets it: --help and --version answer on stdout
// with status 0, a wrong argument is refused with the usage and status 2, and the
// window program without a display says what to do in one line.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "support/temp_office.h"

namespace sendwerk {
namespace {

struct CommandLine {
    const char* program;  // below the build folder
    QStringList arguments;
    int code;
    const char* out;  // the start of stdout
    const char* err;  // the start of stderr
};

TEST(CommandLine, EveryProgramAnswersHelpAndVersionAndRefusesNonsense) {
    const CommandLine cases[] = {
        {"tools/cmail/cmail", {"--help"}, 0, "usage: cmail -host:USER:PASSWORD@HOST:PORT", ""},
        {"tools/cmail/cmail", {"--version"}, 0, "cmail (Sendwerk) 0.1\n", ""},
        {"tools/cmail/cmail",
         {"--frobnicate"},
         2,
         "",
         "cmail: -results: fehlt, kein Ergebnis geschrieben; "
         "Unbekanntes Argument \"--frobnicate\""},
        {"tools/dbftool/dbftool", {"--help"}, 0, "usage: dbftool info TABLE\n", ""},
        {"tools/dbftool/dbftool", {"--version"}, 0, "dbftool (Sendwerk) 0.1\n", ""},
        {"tools/dbftool/dbftool", {"--frobnicate"}, 2, "", "usage: dbftool info T"},
        {"tools/dbftool/dbftool", {}, 2, "", "usage: dbftool info T"},
        {"tools/sendwerk-senden/sendwerk-senden", {"--help"}, 0, "usage: sendwerk-senden [--panes | --quiet]\n", ""},
        {"tools/sendwerk-senden/sendwerk-senden", {"--version"}, 0, "sendwerk-senden (Sendwerk) 0.1\n", ""},
        {"tools/sendwerk-senden/sendwerk-senden",
         {"-x"},
         2,
         "",
         "sendwerk-senden: unbekanntes Argument \"-x\"\nusage:"},
#ifdef SENDWERK_GUI_BUILT
        {"tools/dbfbrowse/dbfbrowse", {"--help"}, 0, "usage: dbfbrowse TABLE [--read-only]\n", ""},
        {"tools/dbfbrowse/dbfbrowse", {"--version"}, 0, "dbfbrowse (Sendwerk) 0.1\n", ""},
        {"tools/dbfbrowse/dbfbrowse", {"--frobnicate"}, 2, "", "dbfbrowse: Aufruf: dbfbrowse DATEI [--read-only]"},
        {"src/app/sendwerk", {"--help"}, 0, "usage: sendwerk [--help | --version]\n", ""},
        {"src/app/sendwerk", {"--version"}, 0, "sendwerk (Sendwerk) 0.1\n", ""},
        {"src/app/sendwerk", {"--frobnicate"}, 2, "", "sendwerk: unbekanntes Argument \"--frobnicate\"\nusage:"},
        {"src/app/sendwerk",
         {},
         1,
         "",
         "sendwerk: keine Anzeige (DISPLAY und WAYLAND_DISPLAY sind leer); starten Sie es mit xvfb-run sendwerk "
         "oder senden Sie ohne Fenster mit sendwerk-senden.\n"},
#endif
    };
    QTemporaryDir empty;
    QFile settings(empty.filePath(QStringLiteral("sendwerk.conf")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.close();
    const auto begins = [](const QString& text, const char* prefix) {
        return *prefix == 0 || text.startsWith(QString::fromUtf8(prefix));  // a null text starts with nothing
    };
    for (const CommandLine& c : cases) {
        QProcess process;
        // No display and empty settings: the answers must not depend on either.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("SENDWERK_CONFIG"), settings.fileName());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(empty.path());
        process.start(testing::binaryDir() + QLatin1Char('/') + QString::fromLatin1(c.program), c.arguments);
        const std::string what = std::string(c.program) + " " + c.arguments.join(' ').toStdString();
        ASSERT_TRUE(process.waitForFinished(30000)) << what;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), c.code) << what << "\n" << err.toStdString();
        EXPECT_TRUE(begins(out, c.out)) << what << "\n" << out.toStdString();
        EXPECT_TRUE(begins(err, c.err)) << what << "\n" << err.toStdString();
        if (c.code == 0) {
            EXPECT_TRUE(err.isEmpty()) << what << "\n" << err.toStdString();
        }
    }
}

}  // namespace
}  // namespace sendwerk
