#include "queue/start_up.h"

#include <gtest/gtest.h>

#include <QDir>

#include "dbf/table.h"
#include "dbf/work_areas.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "queue/queue_context.h"
#include "queue/send_log.h"
#include "queue/shared.h"
#include "queue/testing/fake_mail_client.h"
#include "support/temp_office.h"
#include "support/traced_child.h"

#include <QFile>

#include <sys/syscall.h>

namespace sendwerk {
namespace {

// Drive C: is the office's own disk, drive T: the central server.
class StartUp : public ::testing::Test {
protected:
    StartUp()
        : drives({{QChar('C'), office.native(QStringLiteral("c"))}, {QChar('T'), office.native(QStringLiteral("t"))}}),
          files(drives),
          areas(drives),
          client(clock, files),
          context{files, areas, clock, client, {}, {}} {
        dialogs.message = [this](const QString& text) { messages.append(text); };
        dialogs.tableOpen.askYesNo = [](const QString&, const QString&) { return false; };
        dialogs.tableOpen.waitForKey = [](double) {};
        dialogs.tableOpen.endProgram = [] { throw std::runtime_error("program ended"); };
        office.makeFolder(QStringLiteral("c/daten/CMail"));
    }

    void settingsTable(const QList<dbf::FieldDef>& fields, const QList<QByteArray>& values) {
        office.makeFolder(QStringLiteral("c/ZUMA"));
        const QString path = office.native(QStringLiteral("c/ZUMA/MWSTDAT"));
        dbf::Table::create(path, fields);
        std::unique_ptr<dbf::Table> table;
        table = std::move(dbf::Table::open(path, dbf::ShareMode::Exclusive).value());
        table->appendBlank();
        for (int i = 0; i < fields.size(); ++i) table->put(fields[i].name, values[i]);
        table->commit();
    }
    void standardSettings() {
        settingsTable({{QStringLiteral("DATVER"), 'C', 40, 0}, {QStringLiteral("F10"), 'C', 10, 0}},
                      {"C:\\daten\\", "LPTA"});
    }
    void serverCopy() { office.write(QStringLiteral("t/ZUMA/mwstdat.dbf"), "x"); }

    testing::TempOffice office;
    PathResolver drives;
    FileSystem files;
    dbf::WorkAreas areas;
    VirtualClock clock;
    testing::FakeMailClient client;
    QueueContext context;
    Shared shared;
    StartUpDialogs dialogs;
    QStringList messages;
};

TEST_F(StartUp, FirstRunCreatesTheSendLogAndOpensItInArea28) {
    standardSettings();
    serverCopy();
    EXPECT_TRUE(startUpChecks(shared, context, dialogs));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(shared.cDatver, "C:\\daten\\");
    EXPECT_EQ(shared.cLPT, "LPTA");
    EXPECT_TRUE(office.exists(QStringLiteral("c/daten/CMail/LOG_SENDWERK.DBF")));
    EXPECT_FALSE(areas.isOpen(kSettingsTableArea));
    EXPECT_TRUE(areas.isOpen(kSendLogArea));
    EXPECT_EQ(areas.alias(kSendLogArea), "LOG_SENDWERK");
}

// Only the program's own temporary files go, and the next run will name them.
TEST_F(StartUp, LeftoversOfACrashAreRemovedOnceTheLogIsHeld) {
    standardSettings();
    serverCopy();
    office.write(QStringLiteral("c/daten/CMail/Ausgang/failure/Brief_100001_x.ausg.~1234abcd"), "half");
    office.write(QStringLiteral("c/daten/CMail/Ausgang/failure/Brief_100001_x.ausg"), "whole");
    ASSERT_TRUE(startUpChecks(shared, context, dialogs));
    EXPECT_EQ(context.leftoversRemoved,
              QStringList({"C:\\daten\\CMail\\Ausgang\\failure\\Brief_100001_x.ausg.~1234abcd"}));
    EXPECT_EQ(QDir(office.native(QStringLiteral("c/daten/CMail/Ausgang/failure"))).entryList(QDir::Files),
              QStringList({"Brief_100001_x.ausg"}));
}

TEST_F(StartUp, SecondCopyIsRefusedWithoutTouchingTheLog) {
    standardSettings();
    serverCopy();
    ASSERT_TRUE(startUpChecks(shared, context, dialogs));  // the first copy holds the log open
    dbf::WorkAreas otherAreas(drives);
    QueueContext other{files, otherAreas, clock, client, {}, {}};
    Shared otherShared;
    const QByteArray before = office.read(QStringLiteral("c/daten/CMail/LOG_SENDWERK.DBF"));
    EXPECT_FALSE(startUpChecks(otherShared, other, dialogs));
    EXPECT_EQ(messages, QStringList({"Sendwerk ist bereits geöffnet!\r\nBitte ggf. zuerst schließen!"}));
    EXPECT_FALSE(otherAreas.isOpen(kSendLogArea));
    EXPECT_EQ(office.read(QStringLiteral("c/daten/CMail/LOG_SENDWERK.DBF")), before);
}

TEST_F(StartUp, ExistingLogIsOpenedWhenNoOneHoldsIt) {
    standardSettings();
    serverCopy();
    ASSERT_TRUE(startUpChecks(shared, context, dialogs));
    areas.closeAll();
    Shared again;
    EXPECT_TRUE(startUpChecks(again, context, dialogs));
    EXPECT_TRUE(areas.isOpen(kSendLogArea));
}

TEST_F(StartUp, MissingServerEndsBeforeTheLogIsTouched) {
    standardSettings();
    EXPECT_FALSE(startUpChecks(shared, context, dialogs));
    EXPECT_EQ(messages, QStringList({"Keine Verbindung zum ZentralServer!\r\nVersuchen Sie es später nochmal!\r\n"
                                     "(Gesucht: mwstdat.dbf im Ordner " +
                                     office.native(QStringLiteral("t/ZUMA")) + ")"}));
    EXPECT_FALSE(areas.isOpen(kSettingsTableArea));
    EXPECT_FALSE(office.exists(QStringLiteral("c/daten/CMail/LOG_SENDWERK.DBF")));
}

// A table of another program under the send log's name used to start the program,
// which then died after the first mail with "no field ZEIT".
TEST_F(StartUp, ATableThatIsNoSendLogIsRefusedWithAClearMessage) {
    standardSettings();
    serverCopy();
    ASSERT_TRUE(dbf::Table::create(office.native(QStringLiteral("c/daten/CMail/LOG_SENDWERK")),
                                   {{QStringLiteral("AUFTRNR"), 'C', 6, 0},
                                    {QStringLiteral("ART"), 'C', 1, 0},
                                    {QStringLiteral("DATUM"), 'D', 8, 0}}));
    EXPECT_FALSE(startUpChecks(shared, context, dialogs));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("LOG_SENDWERK.DBF ist kein Sendeprotokoll")))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("es fehlen die Textfelder DATUM, ZEIT, FORMULAR, ADRESSE")));
    EXPECT_TRUE(messages[0].endsWith(QStringLiteral("Sendwerk startet nicht.")));
    EXPECT_FALSE(areas.isOpen(kSendLogArea));
}

// With a delay injected between the single-instance test and the shared open, a second
// copy used to pass the test too, and both ran. The first copy is held at its third
// flock (the settings table's, the exclusive test's, then the shared one's), that is
// after its test and before its shared lock, while the second one starts.
TEST_F(StartUp, TwoCopiesStartingTogetherLeaveOneRunning) {
    standardSettings();
    serverCopy();
    for (const bool logExists : {true, false}) {
        SCOPED_TRACE(logExists ? "send log there" : "no send log yet");
        QFile::remove(office.native(QStringLiteral("c/daten/CMail/LOG_SENDWERK.DBF")));
        if (logExists) {
            ASSERT_TRUE(createSendLog(areas, QStringLiteral("C:\\daten\\")));
        }
        messages.clear();
        sendwerk::testing::TracedChild first([&] { return startUpChecks(shared, context, dialogs) ? 0 : 1; });
        ASSERT_TRUE(first.stopAtCall({SYS_flock}, 3));
        dbf::WorkAreas otherAreas(drives);
        QueueContext other{files, otherAreas, clock, client, {}, {}};
        Shared otherShared;
        EXPECT_FALSE(startUpChecks(otherShared, other, dialogs));
        EXPECT_EQ(messages, QStringList({"Sendwerk ist bereits geöffnet!\r\nBitte ggf. zuerst schließen!"}));
        EXPECT_EQ(first.finish(), 0) << "the first copy runs";
        EXPECT_EQ(QDir(office.native(QStringLiteral("c/daten/CMail"))).entryList(QDir::Files),
                  QStringList({"LOG_SENDWERK.DBF"}));
    }
}

TEST_F(StartUp, AnUnmappedServerDriveIsNamed) {
    standardSettings();
    const PathResolver onlyC({{QChar('C'), office.native(QStringLiteral("c"))}});
    FileSystem filesOfC(onlyC);
    dbf::WorkAreas areasOfC(onlyC);
    QueueContext withoutServer{filesOfC, areasOfC, clock, client, {}, {}};
    EXPECT_FALSE(startUpChecks(shared, withoutServer, dialogs));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].endsWith("\r\n(Laufwerk T: ist in der Einstellungsdatei nicht zugeordnet.)"))
        << messages[0].toStdString();
}

// The settings are read before the server check, so a missing server shows them
// without creating anything.
TEST_F(StartUp, SettingsTableValues) {
    const struct {
        QList<dbf::FieldDef> fields;
        QList<QByteArray> values;
        const char* cDatver;
        const char* cLPT;
    } cases[] = {
        {{{QStringLiteral("DATVER"), 'C', 20, 0}, {QStringLiteral("F10"), 'C', 10, 0}},
         {"D:\\X\\  ", "LPT2  "},
         "D:\\X\\",
         "LPT2"},
        {{{QStringLiteral("DATVER"), 'C', 20, 0}, {QStringLiteral("F10"), 'C', 10, 0}}, {"   ", "PRN"}, "", "LPT1"},
        {{{QStringLiteral("DATVER"), 'C', 20, 0}, {QStringLiteral("F10"), 'C', 10, 0}},
         {"C:\\A\\", ""},
         "C:\\A\\",
         "LPT1"},
        {{{QStringLiteral("F10"), 'C', 10, 0}}, {"LPTA"}, "C:\\ZUMA\\", "LPTA"},
        {{{QStringLiteral("DATVER"), 'C', 20, 0}}, {"C:\\B\\"}, "C:\\B\\", "LPT1"},
    };
    for (const auto& c : cases) {
        QDir(office.native(QStringLiteral("c/ZUMA"))).removeRecursively();
        settingsTable(c.fields, c.values);
        Shared s;
        EXPECT_FALSE(startUpChecks(s, context, dialogs));
        EXPECT_EQ(s.cDatver, c.cDatver) << c.cDatver;
        EXPECT_EQ(s.cLPT, c.cLPT) << c.cDatver;
    }
}

}  // namespace
}  // namespace sendwerk
