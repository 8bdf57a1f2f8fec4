// sendwerk-senden as an administrator runs it: the real command, the real clock and a
// real child process. A data root built from scratch, a client stand-in script that
// writes the result file (failure for addresses with "abgelehnt"), orders of one
// recipient each (the office's pauses make each take about eight seconds).
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <functional>

#include "dbf/table.h"
#include "support/temp_office.h"

namespace sendwerk {
namespace {

using testing::TempOffice;

// Answers like the mail client: the result file at the "-results:" path (a DOS path on
// drive C:), and the arguments it got, one per line, for the test to read.
QByteArray clientScript(const QString& root) {
    return "#!/bin/sh\n"
           "root='" +
           root.toUtf8() +
           "'\n"
           "status=accepted\n"
           "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$root/client-args.txt\"; done\n"
           "for a in \"$@\"; do case \"$a\" in -to:*abgelehnt*) status=failure;; esac; done\n"
           "for a in \"$@\"; do case \"$a\" in -results:*)\n"
           "  p=${a#-results:}; p=${p#C:}; p=$(printf '%s' \"$p\" | tr '\\\\' '/')\n"
           "  printf '{\"status\": \"%s\"}' \"$status\" > \"$root$p\";;\n"
           "esac; done\n";
}

struct Finished {
    int code = -1;
    QString out;
    QString err;
};

// A data root for the command, mapped as drives C: and T: of its own settings file.
class HeadlessOffice {
public:
    HeadlessOffice() {
        office.write(QStringLiteral("sendwerk.conf"), "[drives]\nC=" + office.native(QStringLiteral("c")).toUtf8() +
                                                          "\nT=" + office.native(QStringLiteral("t")).toUtf8() + "\n");
        office.write(QStringLiteral("t/ZUMA/mwstdat.dbf"), "server copy");
        office.makeFolder(QStringLiteral("c/ZUMA"));
        const QString settings = office.native(QStringLiteral("c/ZUMA/MWSTDAT"));
        dbf::Table::create(settings, {{QStringLiteral("DATVER"), 'C', 40, 0}, {QStringLiteral("F10"), 'C', 10, 0}});
        auto table = dbf::Table::open(settings, dbf::ShareMode::Exclusive);
        table.value()->appendBlank();
        table.value()->put(QStringLiteral("DATVER"), "C:\\BUERO\\");
        table.value()->commit();
        for (const char* folder : {"c/BUERO/CMail/Ausgang/failure", "c/BUERO/CMail/Ausgang/quarantine"})
            office.makeFolder(QString::fromLatin1(folder));
        office.write(QStringLiteral("c/BUERO/CMail/Verbindung.dat"),
                     "127.0.0.1\r\nbuero\r\ngeheim\r\n2525\r\nbuero@example.org\r\nantwort@example.org\r\n");
        office.write(QStringLiteral("c/BUERO/CMail/WhiteList.mad"), "kunde@example.org,\r\nabgelehnt@example.org,\r\n");
        office.write(QStringLiteral("c/BUERO/CMail/cmail"), clientScript(office.native(QStringLiteral("c"))));
        QFile::setPermissions(office.native(QStringLiteral("c/BUERO/CMail/cmail")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void order(const char* name, const QByteArray& content, const char* folder = "Ausgang") {
        office.write(QStringLiteral("c/BUERO/CMail/%1/%2").arg(QString::fromLatin1(folder), QString::fromLatin1(name)),
                     content);
    }

    Finished run(const QStringList& arguments = {}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SENDWERK_CONFIG"), office.native(QStringLiteral("sendwerk.conf")));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(office.root());
        process.start(testing::binaryDir() + QStringLiteral("/tools/sendwerk-senden/sendwerk-senden"), arguments);
        EXPECT_TRUE(process.waitForFinished(120000)) << process.errorString().toStdString();
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    bool clientWasStarted() const { return office.exists(QStringLiteral("c/client-args.txt")); }

    // Every file below the root with its content's hash and its modification time.
    QMap<QString, QString> tree() const {
        QMap<QString, QString> files;
        QDirIterator it(office.root(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            QString state = info.lastModified().toString(Qt::ISODateWithMs);
            QFile file(info.filePath());
            if (info.isFile() && file.open(QIODevice::ReadOnly))
                state +=
                    QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
            files.insert(QDir(office.root()).relativeFilePath(info.filePath()), state);
        }
        return files;
    }

    TempOffice office;
};

TEST(SendCommand, SendsOneOrderAndFilesIt) {
    HeadlessOffice o;
    o.order("Brief_123456_2024-07-15.ausg", "kunde@example.org|||Ihre Unterlagen|||Guten Tag|||");
    const Finished run = o.run();
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(o.office.exists(QStringLiteral("c/BUERO/CMail/gesendet/123456/Brief/Brief_123456_2024-07-15.ausg")));
    EXPECT_TRUE(o.office.exists(QStringLiteral("c/BUERO/CMail/gesendet/123456/Brief/Brief_123456_2024-07-15.result")));
    EXPECT_FALSE(o.office.exists(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_123456_2024-07-15.ausg")));
    EXPECT_TRUE(o.office.exists(QStringLiteral("c/BUERO/CMail/LOG_SENDWERK.DBF")));
    const QList<QByteArray> arguments = o.office.read(QStringLiteral("c/client-args.txt")).split('\n');
    EXPECT_TRUE(arguments.contains("-subject:Ihre Unterlagen"));
    EXPECT_TRUE(arguments.contains("-to:kunde@example.org"));
    EXPECT_EQ(run.out, "Einstellungen aus " + o.office.native(QStringLiteral("sendwerk.conf")) +
                           "\n"
                           "Brief_123456_2024-07-15.ausg: gesendet (kunde@example.org)\n"
                           "1 Aufträge: 1 gesendet, 0 Fehler, 0 Quarantäne, 0 ohne Adresse\n");
}

TEST(SendCommand, PanesAndQuietChooseWhatIsPrinted) {
    HeadlessOffice o;
    o.order("Brief_123456_2024-07-15.ausg", "fremd@example.org|||B|||T|||");
    const Finished panes = o.run({"--panes"});
    EXPECT_EQ(panes.code, 4);
    EXPECT_TRUE(panes.out.contains("=== oMle1 Ausgang ===\n")) << panes.out.toStdString();
    EXPECT_TRUE(panes.out.contains("Brief_123456_2024-07-15.ausg - Adresse?\n")) << panes.out.toStdString();
    EXPECT_FALSE(panes.out.contains("Brief_123456_2024-07-15.ausg: Quarantäne")) << "no order lines beside the panes";

    QFile::rename(o.office.native(QStringLiteral("c/BUERO/CMail/Ausgang/quarantine/Brief_123456_2024-07-15.ausg")),
                  o.office.native(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_123456_2024-07-15.ausg")));
    const Finished quiet = o.run({"--quiet"});
    EXPECT_EQ(quiet.code, 4);
    EXPECT_EQ(quiet.out, "1 Aufträge: 0 gesendet, 0 Fehler, 1 Quarantäne, 0 ohne Adresse\n");
}

// The exit statuses a timer or cron job reads, one case each (0, all sent, is the
// first test's).
TEST(SendCommand, ExitStatusSaysHowTheRunEnded) {
    const struct {
        const char* name;
        std::function<void(HeadlessOffice&)> arrange;
        int code;
        const char* out;  // part of stdout
        const char* err;  // part of stderr
    } cases[] = {
        {"one failed", [](HeadlessOffice& t) { t.order("Brief_100002_x.ausg", "abgelehnt@example.org|||B|||T|||"); }, 4,
         "Brief_100002_x.ausg: Fehler (abgelehnt@example.org)\n1 Aufträge: 0 gesendet, 1 Fehler", ""},
        {"connection data incomplete",
         [](HeadlessOffice& t) {
             t.office.write(QStringLiteral("c/BUERO/CMail/Verbindung.dat"), "127.0.0.1\r\nbuero\r\n");
             t.order("Brief_100001_x.ausg", "kunde@example.org|||B|||T|||");
         },
         5, "1 Aufträge: 0 gesendet, 0 Fehler, 0 Quarantäne, 0 ohne Adresse, 1 bleiben im Ausgang\n",
         "Verbindungsdaten unvollständig: 2 von 6 Werten in CMail\\Verbindung.dat.\nEs wurde nichts gesendet."},
        {"client missing",
         [](HeadlessOffice& t) {
             QFile::remove(t.office.native(QStringLiteral("c/BUERO/CMail/cmail")));
             t.order("Brief_100001_x.ausg", "kunde@example.org|||B|||T|||");
         },
         3, "Brief_100001_x.ausg: bleibt im Ausgang\n", "Das Mail-Programm C:\\BUERO\\CMail\\cmail.exe fehlt"},
    };
    for (const auto& c : cases) {
        HeadlessOffice fresh;
        c.arrange(fresh);
        const Finished run = fresh.run();
        EXPECT_EQ(run.code, c.code) << c.name << "\n" << run.out.toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.out))) << c.name << "\n" << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.err))) << c.name << "\n" << run.err.toStdString();
    }
}

TEST(SendCommand, RefusesWhatItDoesNotKnowAndSendsNothing) {
    HeadlessOffice o;
    o.order("Brief_123456_2024-07-15.ausg", "kunde@example.org|||B|||T|||");
    const struct {
        QStringList arguments;
        const char* err;
    } cases[] = {
        {{"--bogus"}, "unbekanntes Argument \"--bogus\""},
        {{"senden"}, "unbekanntes Argument \"senden\""},
        {{"--requeue"}, "--requeue braucht failure oder quarantine, nicht \"\""},
        {{"--requeue", "ausgang"}, "--requeue braucht failure oder quarantine"},
        {{"--list", "--dry-run"}, "\"--dry-run\" passt nicht"},
        {{"--quiet", "--panes"}, "\"--panes\" passt nicht"},
        {{"--list", "--quiet"}, "--panes und --quiet gelten nur für eine Sende-Runde"},
    };
    for (const auto& c : cases) {
        const Finished run = o.run(c.arguments);
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.code, 2) << what;
        EXPECT_TRUE(run.err.startsWith("sendwerk-senden: " + QString::fromUtf8(c.err)))
            << what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("\nusage: sendwerk-senden")) << what;
        EXPECT_TRUE(run.out.isEmpty()) << what;
    }
    EXPECT_FALSE(o.clientWasStarted());
    EXPECT_TRUE(o.office.exists(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_123456_2024-07-15.ausg")));
    EXPECT_FALSE(o.office.exists(QStringLiteral("c/BUERO/CMail/LOG_SENDWERK.DBF")));
}

TEST(SendCommand, DryRunShowsChecksAndCallsAndChangesNothing) {
    HeadlessOffice o;
    o.order("Brief_100001_2024-07-15.ausg", "kunde@example.org|||Ihre Unterlagen|||Guten Tag|||C:\\BUERO\\a.pdf");
    o.order("Brief_100002_2024-07-15.ausg", "{fremd@example.org,kunde@example.org}|||B|||T|||");
    o.order("Brief_100003_2024-07-15.ausg", "kunde|||B|||T|||");  // on the list as part of an address
    o.order("Brief_100004_2024-07-15.ausg", "kunde@example.org|||B|||T|||", "Ausgang/failure");
    const QMap<QString, QString> before = o.tree();

    const Finished run = o.run({"--dry-run"});

    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(o.tree(), before) << "nothing written, moved or touched";
    EXPECT_FALSE(o.clientWasStarted());
    const QString call =
        "    C:\\BUERO\\CMail\\cmail.exe '-host:buero:***@127.0.0.1:2525' -starttls -to:kunde@example.org "
        "-from:buero@example.org -reply-to:antwort@example.org ";
    EXPECT_EQ(
        run.out.section('\n', 1).toStdString(),
        ("Probelauf: 3 Aufträge im Ausgang; es wird nichts gesendet, verschoben oder geschrieben.\n"
         "Brief_100001_2024-07-15.ausg\n"
         "  kunde@example.org: wird gesendet\n" +
         call +
         "'-subject:Ihre Unterlagen' '-body:Guten Tag' -a:C:\\BUERO\\a.pdf -dsn:SFD -mdn "
         "-results:C:\\BUERO\\CMail\\Ausgang\\Brief_100001_2024-07-15.result\n"
         "Brief_100002_2024-07-15.ausg\n"
         "  fremd@example.org: Quarantäne (nicht auf der Whitelist)\n"
         "  kunde@example.org: wird gesendet\n" +
         call +
         "-subject:B -body:T -a: -dsn:SFD -mdn -results:C:\\BUERO\\CMail\\Ausgang\\Brief_100002_2024-07-15.result\n"
         "Brief_100003_2024-07-15.ausg\n"
         "  kunde: ohne Adresse (kein \"@\"), bleibt im Ausgang\n")
            .toStdString());
    EXPECT_FALSE(run.out.contains("geheim"));
}

TEST(SendCommand, DryRunSaysWhenTheWhitelistIsMissing) {
    HeadlessOffice o;
    QFile::remove(o.office.native(QStringLiteral("c/BUERO/CMail/WhiteList.mad")));
    o.order("Brief_100001_2024-07-15.ausg", "kunde@example.org|||B|||T|||");
    const Finished run = o.run({"--dry-run"});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(
        run.out.contains("ACHTUNG: C:\\BUERO\\CMail\\WhiteList.mad fehlt, jeder Empfänger käme in die Quarantäne.\n"))
        << run.out.toStdString();
}

TEST(SendCommand, ListShowsEveryFolderWithNameAgeSizeAndRecipients) {
    HeadlessOffice o;
    o.order("Brief_100001_2024-07-15.ausg", "kunde@example.org|||B|||T|||");
    o.order("Vorsorge_100002_2024-07-15.ausg", "{a@example.org,Notiz}|||B|||T|||");
    o.order("Brief_100003_2024-07-15.ausg", "fremd@example.org|||B|||T|||", "Ausgang/quarantine");
    const QMap<QString, QString> before = o.tree();

    const Finished run = o.run({"--list"});

    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(o.tree(), before);
    const QString c = o.office.native(QStringLiteral("c/BUERO/CMail/Ausgang"));
    const QRegularExpression expected(QRegularExpression::anchoredPattern(
        "Einstellungen aus .*\n"
        "Ausgang C:\\\\BUERO\\\\CMail\\\\Ausgang\\\\ \\(" +
        QRegularExpression::escape(c) +
        "\\): 2 Aufträge\n"
        "  Brief_100001_2024-07-15.ausg  +[0-9]+ s +28 B  kunde@example.org\n"
        "  Vorsorge_100002_2024-07-15.ausg  +[0-9]+ s +32 B  a@example.org, Notiz\n"
        "Failure-Ordner C:\\\\BUERO\\\\CMail\\\\Ausgang\\\\failure\\\\ \\(.*/failure\\): 0 Aufträge\n"
        "Quarantine-Ordner C:\\\\BUERO\\\\CMail\\\\Ausgang\\\\quarantine\\\\ \\(.*/quarantine\\): 1 Aufträge\n"
        "  Brief_100003_2024-07-15.ausg  +[0-9]+ s +28 B  fremd@example.org\n"));
    EXPECT_TRUE(expected.match(run.out).hasMatch()) << run.out.toStdString();
}

TEST(SendCommand, RequeueBringsTheFolderBackIntoTheOutbox) {
    HeadlessOffice o;
    o.order("Brief_100001_2024-07-15.ausg", "kunde@example.org|||B|||T|||", "Ausgang/failure");
    o.order("Brief_100002_2024-07-15.ausg", "fremd@example.org|||B|||T|||", "Ausgang/quarantine");

    const Finished run = o.run({"--requeue", "failure"});

    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith("1 Aufträge aus C:\\BUERO\\CMail\\Ausgang\\failure\\ zurück in den Ausgang\n"))
        << run.out.toStdString();
    EXPECT_TRUE(o.office.exists(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_100001_2024-07-15.ausg")));
    EXPECT_FALSE(o.office.exists(QStringLiteral("c/BUERO/CMail/Ausgang/failure/Brief_100001_2024-07-15.ausg")));
    EXPECT_TRUE(o.office.exists(QStringLiteral("c/BUERO/CMail/Ausgang/quarantine/Brief_100002_2024-07-15.ausg")))
        << "the other folder stays";
    EXPECT_FALSE(o.clientWasStarted());
}

TEST(SendCommand, RefusesToStartWithoutTheServer) {
    HeadlessOffice o;
    QFile::remove(o.office.native(QStringLiteral("t/ZUMA/mwstdat.dbf")));
    const Finished run = o.run();
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(
        run.err,
        "Keine Verbindung zum ZentralServer!\nVersuchen Sie es später nochmal!\n(Gesucht: mwstdat.dbf im Ordner " +
            o.office.native(QStringLiteral("t/ZUMA")) + ")\n");
}

TEST(SendCommand, ANamedSettingsFileThatIsMissingRefusesTheStart) {
    HeadlessOffice o;
    QFile::remove(o.office.native(QStringLiteral("sendwerk.conf")));
    o.order("Brief_123456_2024-07-15.ausg", "kunde@example.org");
    const Finished run = o.run();
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "sendwerk-senden: Die Einstellungsdatei " + o.office.native(QStringLiteral("sendwerk.conf")) +
                           " (SENDWERK_CONFIG) gibt es nicht.\n");
}

TEST(SendCommand, NeverRunsBesideARunningCopy) {
    HeadlessOffice o;
    const QString log = o.office.native(QStringLiteral("c/BUERO/CMail/LOG_SENDWERK"));
    dbf::Table::create(log, {{QStringLiteral("AUFTRNR"), 'C', 6, 0}});
    auto held = dbf::Table::open(log, dbf::ShareMode::Shared);  // as the window holds it for its whole run
    ASSERT_TRUE(held.ok()) << held.cause().toStdString();
    o.order("Brief_123456_2024-07-15.ausg", "kunde@example.org");
    for (const QStringList& arguments : {QStringList{}, QStringList{"--requeue", "failure"}}) {
        const Finished run = o.run(arguments);
        EXPECT_EQ(run.code, 1) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, "Sendwerk ist bereits geöffnet!\nBitte ggf. zuerst schließen!\n");
    }
    EXPECT_TRUE(o.office.exists(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_123456_2024-07-15.ausg")));
    EXPECT_EQ(o.run({"--list"}).code, 0) << "a look into the queue is fine beside the window";
}

}  // namespace
}  // namespace sendwerk
