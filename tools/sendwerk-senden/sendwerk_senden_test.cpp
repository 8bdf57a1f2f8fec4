// End to end through the real command, the real clock and a real child process: a data
// root built from scratch, a client stand-in script that writes the result file, one
// order (the office's pauses make it take about twelve seconds).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "dbf/table.h"
#include "support/temp_office.h"
#include "support/take.h"

using sendwerk::testing::take;

namespace sendwerk {
namespace {

using testing::TempOffice;

// Answers like the mail client: the result file at the "-results:" path (a DOS path on
// drive C:), and the arguments it got, one per line, for the test to read.
QByteArray clientScript(const QString& root) {
    return "#!/bin/sh\n"
           "root='" + root.toUtf8() + "'\n"
           "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$root/client-args.txt\"; done\n"
           "for a in \"$@\"; do case \"$a\" in -results:*)\n"
           "  p=${a#-results:}; p=${p#C:}; p=$(printf '%s' \"$p\" | tr '\\\\' '/')\n"
           "  printf '{\"status\": \"accepted\"}' > \"$root$p\";;\n"
           "esac; done\n";
}

class SendCommand : public ::testing::Test {
protected:
    SendCommand() {
        office.write(QStringLiteral("sendwerk.conf"),
                     "[drives]\nC=" + office.native(QStringLiteral("c")).toUtf8() + "\nT=" +
                         office.native(QStringLiteral("t")).toUtf8() + "\n");
        office.write(QStringLiteral("t/ZUMA/mwstdat.dbf"), "server copy");
        office.makeFolder(QStringLiteral("c/ZUMA"));
        const QString settings = office.native(QStringLiteral("c/ZUMA/MWSTDAT"));
        dbf::Table::create(settings, {{QStringLiteral("DATVER"), 'C', 40, 0}, {QStringLiteral("F10"), 'C', 10, 0}});
        std::unique_ptr<dbf::Table> table;
        table = std::move(dbf::Table::open(settings, dbf::ShareMode::Exclusive).value());
        table->appendBlank();
        table->put(QStringLiteral("DATVER"), "C:\\BUERO\\");
        table->commit();
        for (const char* folder : {"c/BUERO/CMail/Ausgang/failure", "c/BUERO/CMail/Ausgang/quarantine"})
            office.makeFolder(QString::fromLatin1(folder));
        office.write(QStringLiteral("c/BUERO/CMail/Verbindung.dat"),
                     "127.0.0.1\r\nbuero\r\ngeheim\r\n2525\r\nbuero@example.org\r\nantwort@example.org\r\n");
        office.write(QStringLiteral("c/BUERO/CMail/WhiteList.mad"), "kunde@example.org,\r\n");
        const QString client = office.native(QStringLiteral("c/BUERO/CMail/cmail"));
        office.write(QStringLiteral("c/BUERO/CMail/cmail"), clientScript(office.native(QStringLiteral("c"))));
        QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    int run(QByteArray* out = nullptr, QByteArray* err = nullptr) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SENDWERK_CONFIG"), office.native(QStringLiteral("sendwerk.conf")));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(office.root());
        process.start(QStringLiteral(SENDWERK_SENDEN_PROGRAM), {});
        EXPECT_TRUE(process.waitForFinished(120000)) << process.errorString().toStdString();
        if (out) *out = process.readAllStandardOutput();
        if (err) *err = process.readAllStandardError();
        return process.exitCode();
    }

    TempOffice office;
};

TEST_F(SendCommand, SendsOneOrderAndFilesIt) {
    office.write(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_123456_2024-07-15.ausg"),
                 "kunde@example.org|||Ihre Unterlagen|||Guten Tag|||");
    QByteArray out, err;
    EXPECT_EQ(run(&out, &err), 0) << err.toStdString();
    EXPECT_TRUE(office.exists(QStringLiteral("c/BUERO/CMail/gesendet/123456/Brief/Brief_123456_2024-07-15.ausg")));
    EXPECT_TRUE(office.exists(QStringLiteral("c/BUERO/CMail/gesendet/123456/Brief/Brief_123456_2024-07-15.result")));
    EXPECT_FALSE(office.exists(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_123456_2024-07-15.ausg")));
    EXPECT_TRUE(office.exists(QStringLiteral("c/BUERO/CMail/LOG_SENDWERK.DBF")));
    const QList<QByteArray> arguments = office.read(QStringLiteral("c/client-args.txt")).split('\n');
    EXPECT_TRUE(arguments.contains("-subject:Ihre Unterlagen"));
    EXPECT_TRUE(arguments.contains("-to:kunde@example.org"));
    EXPECT_TRUE(out.contains("=== oMle1 Ausgang ===\n"));
    EXPECT_TRUE(out.contains("Brief_123456_2024-07-15.ausg - erledigt!\n"));
    EXPECT_TRUE(out.contains("alle Sendungen bearbeitet!"));
}

TEST_F(SendCommand, RefusesToStartWithoutTheServer) {
    QFile::remove(office.native(QStringLiteral("t/ZUMA/mwstdat.dbf")));
    QByteArray err;
    EXPECT_EQ(run(nullptr, &err), 1);
    EXPECT_EQ(QString::fromUtf8(err), "Keine Verbindung zum ZentralServer!\nVersuchen Sie es später nochmal!\n");
}

TEST_F(SendCommand, NeverRunsBesideARunningCopy) {
    const QString log = office.native(QStringLiteral("c/BUERO/CMail/LOG_SENDWERK"));
    dbf::Table::create(log, {{QStringLiteral("AUFTRNR"), 'C', 6, 0}});
    std::unique_ptr<dbf::Table> held;  // as the window holds it for its whole run
    ASSERT_TRUE(take(held, dbf::Table::open(log, dbf::ShareMode::Shared)));
    office.write(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_123456_2024-07-15.ausg"), "kunde@example.org");
    QByteArray err;
    EXPECT_EQ(run(nullptr, &err), 1);
    EXPECT_EQ(QString::fromUtf8(err), "Sendwerk ist bereits geöffnet!\nBitte ggf. zuerst schließen!\n");
    EXPECT_TRUE(office.exists(QStringLiteral("c/BUERO/CMail/Ausgang/Brief_123456_2024-07-15.ausg")));
}

}  // namespace
}  // namespace sendwerk
