#include "queue/filing.h"

#include <gtest/gtest.h>

#include <QFile>

#include <csignal>
#include <functional>
#include <sys/resource.h>

#include "dbf/table.h"
#include "queue/archive_folders.h"
#include "queue/testing/queue_office.h"

namespace sendwerk {
namespace {

using testing::QueueOffice;

const QString F = QStringLiteral("Sterbefall_123456_2024-07-15.ausg");
const QString kArchive = QStringLiteral("gesendet/123456/Sterbefall");

OrderNames names(const QueueOffice& o) { return *deriveOrderNames(o.shared.cDatver, F); }

// An order with its result file in the outbox, as the mail client leaves it, and its
// attachment; the outbox pane shows the listing.
void prepareOrder(QueueOffice& o, const QByteArray& order = "a@b|||B|||T|||C:\\ZUMA\\PDF\\v.pdf") {
    o.writeOrder(F, order);
    o.writeOrder(QStringLiteral("Sterbefall_123456_2024-07-15.result"), R"({"status": "accepted"})");
    o.office.write(QStringLiteral("ZUMA/PDF/v.pdf"), "%PDF");
    o.screen.outboxPane.setData(
        QStringLiteral("\r\nMailAusgang\r\nDiese Mails sind zu versenden um 09:00:00 Uhr:\r\n") + F +
        QStringLiteral("\r\n"));
}

void file(QueueOffice& o, FilingOutcome outcome, const QByteArray& attachment = "C:\\ZUMA\\PDF\\v.pdf") {
    OrderFilingState state;
    fileOutcome(o.shared, o.context, outcome, names(o), {}, {"a@b", "a@b"}, attachment, state);
}

TEST(Filing, AcceptedSingleOrderLeavesThreeFilesInTheArchive) {
    QueueOffice o;
    prepareOrder(o);
    createArchiveFolders(o.shared.cDatver, QStringLiteral("123456"), QStringLiteral("Sterbefall"), o.files, o.clock);
    file(o, FilingOutcome::Accepted);
    EXPECT_TRUE(o.filesIn(QStringLiteral("Ausgang")).isEmpty());
    EXPECT_EQ(o.filesIn(kArchive), QStringList({"Sterbefall_123456_2024-07-15.ausg", "Sterbefall_123456_2024-07-15.pdf",
                                                "Sterbefall_123456_2024-07-15.result"}));
    EXPECT_TRUE(o.office.exists(QStringLiteral("ZUMA/PDF/v.pdf")));  // copied, never moved
    EXPECT_TRUE(o.screen.outboxPane.data().contains(F + QStringLiteral(" - erledigt!\r\n")));
    const auto log = o.readSendLog();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0].art, "M");
    EXPECT_EQ(log[0].auftrnr, "123456");
    EXPECT_EQ(log[0].datum, "15.07.24");
    EXPECT_EQ(log[0].zeit, "09:00:02");  // both archive levels were made, a second each
}

TEST(Filing, AcceptedWithoutAttachmentSkipsTheArchiveCopy) {
    for (const QByteArray& attachment : {QByteArray(), QByteArray("C:\\ZUMA\\PDF\\fehlt.pdf")}) {
        QueueOffice o;
        prepareOrder(o);
        createArchiveFolders(o.shared.cDatver, QStringLiteral("123456"), QStringLiteral("Sterbefall"), o.files,
                             o.clock);
        file(o, FilingOutcome::Accepted, attachment);
        EXPECT_EQ(o.filesIn(kArchive),
                  QStringList({"Sterbefall_123456_2024-07-15.ausg", "Sterbefall_123456_2024-07-15.result"}));
        EXPECT_TRUE(o.screen.outboxPane.data().contains(F + QStringLiteral(" - erledigt!\r\n")));
    }
}

TEST(Filing, QuarantineAndFailurePanesButtonsAndPause) {
    QueueOffice o;
    prepareOrder(o);
    o.screen.quarantinePane.setData(QStringLiteral("\r\nQuarantine-Ordner ist leer."));
    const double before = o.clock.pausedSeconds();
    file(o, FilingOutcome::Quarantine);
    EXPECT_DOUBLE_EQ(o.clock.pausedSeconds() - before, 3);
    EXPECT_EQ(o.screen.quarantinePane.data(),
              QStringLiteral("Fehler im Quarantine-Ordner:\r\n") + F + QStringLiteral(" - FEHLER"));
    EXPECT_EQ(o.screen.retryQuarantineButton.colorBG(), 7);
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/quarantine")), QStringList({F}));
    EXPECT_TRUE(o.screen.outboxPane.data().contains(F + QStringLiteral(" - Adresse?")));

    QueueOffice p;
    prepareOrder(p);
    file(p, FilingOutcome::Failure);
    EXPECT_EQ(p.screen.failurePane.data(),
              QStringLiteral("Fehler im Failure-Ordner:\r\n") + F + QStringLiteral(" - FEHLER"));
    EXPECT_EQ(p.screen.retryFailureButton.colorBG(), 7);
    EXPECT_EQ(p.filesIn(QStringLiteral("Ausgang/failure")),
              QStringList({F, QStringLiteral("Sterbefall_123456_2024-07-15.result")}));
    EXPECT_TRUE(p.filesIn(QStringLiteral("Ausgang")).isEmpty());
    EXPECT_EQ(p.readSendLog().value(0).art, "F");
}

TEST(Filing, NoAddressAndNeitherLeaveEverythingInTheOutbox) {
    for (FilingOutcome outcome : {FilingOutcome::NoAddress, FilingOutcome::Neither}) {
        QueueOffice o;
        prepareOrder(o);
        file(o, outcome);
        EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")),
                  QStringList({F, QStringLiteral("Sterbefall_123456_2024-07-15.result")}));
        EXPECT_TRUE(o.readSendLog().isEmpty());
        EXPECT_EQ(o.screen.outboxPane.data().contains(F + QStringLiteral(" - @Fehler!")),
                  outcome == FilingOutcome::NoAddress);
    }
}

// Removes the file-size limit again when the test is done.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

bool folderIsWritable(const QString& nativeFolder) {
    QFile probe(nativeFolder + QStringLiteral("/probe"));
    const bool writable = probe.open(QIODevice::WriteOnly);
    probe.remove();
    return writable;
}

// An order that reached its end but could not be filed stays in the outbox, renamed
// so that no later run lists it (it would be sent and logged again); its content.
QByteArray setAside(const QueueOffice& o) {
    EXPECT_FALSE(o.files.list(QStringLiteral("C:\\ZUMA\\CMail\\Ausgang\\*.ausg")).contains(F)) << "listed again";
    return o.office.read(QStringLiteral("ZUMA/CMail/Ausgang/") + F + ".ablagefehler");
}

// Filing under faults: the copy fails, so nothing is erased and nothing is lost.
TEST(Filing, FailedCopyNeverErasesTheSource) {
    const struct {
        const char* name;
        FilingOutcome outcome;
        std::function<void(QueueOffice&)> fault;
        QString target;  // folder below CMail that must not have the order
    } cases[] = {
        {"archive folder missing", FilingOutcome::Accepted, [](QueueOffice&) {}, kArchive},
        {"quarantine folder missing", FilingOutcome::Quarantine,
         [](QueueOffice& o) {
             QDir(o.office.native(QStringLiteral("ZUMA/CMail/Ausgang/quarantine"))).removeRecursively();
         },
         QStringLiteral("Ausgang/quarantine")},
        {"failure folder is a file", FilingOutcome::Failure,
         [](QueueOffice& o) {
             QDir(o.office.native(QStringLiteral("ZUMA/CMail/Ausgang/failure"))).removeRecursively();
             o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure"), "x");
         },
         QString()},
    };
    for (const auto& c : cases) {
        QueueOffice o;
        prepareOrder(o);
        c.fault(o);
        file(o, c.outcome);
        EXPECT_EQ(setAside(o), "a@b|||B|||T|||C:\\ZUMA\\PDF\\v.pdf") << c.name;
        if (c.outcome != FilingOutcome::Quarantine) {
            EXPECT_TRUE(o.office.exists(QStringLiteral("ZUMA/CMail/Ausgang/Sterbefall_123456_2024-07-15.result")))
                << c.name;
        }
        if (!c.target.isEmpty()) {
            EXPECT_FALSE(o.filesIn(c.target).contains(F)) << c.name;
        }
        EXPECT_TRUE(o.screen.outboxPane.data().contains(QStringLiteral(" - Ablagefehler! ("))) << c.name;
        EXPECT_EQ(o.readSendLog().size(), 1) << c.name;  // the outcome itself did happen
    }
}

TEST(Filing, ReadOnlyTargetKeepsTheOrder) {
    QueueOffice o;
    prepareOrder(o);
    const QString quarantine = o.office.native(QStringLiteral("ZUMA/CMail/Ausgang/quarantine"));
    QFile::setPermissions(quarantine, QFile::ReadOwner | QFile::ExeOwner);
    if (folderIsWritable(quarantine)) {
        // Permissions do not stop root: put a folder in place where nobody may create files.
        QDir(quarantine).removeRecursively();
        ASSERT_TRUE(QFile::link(QStringLiteral("/proc"), quarantine));
        ASSERT_FALSE(folderIsWritable(quarantine));
    }
    file(o, FilingOutcome::Quarantine);
    QFile::setPermissions(quarantine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(setAside(o), "a@b|||B|||T|||C:\\ZUMA\\PDF\\v.pdf");
    EXPECT_TRUE(o.screen.outboxPane.data().contains(QStringLiteral(" - Ablagefehler! (")));
}

TEST(Filing, DiskFullKeepsTheOrder) {
    QueueOffice o;
    const QByteArray big = "a@b|||B|||" + QByteArray(64 * 1024, 'T') + "|||";
    prepareOrder(o, big);
    createArchiveFolders(o.shared.cDatver, QStringLiteral("123456"), QStringLiteral("Sterbefall"), o.files, o.clock);
    {
        const FileSizeLimit limit(16 * 1024);
        file(o, FilingOutcome::Accepted, {});
    }
    EXPECT_EQ(setAside(o), big);
    EXPECT_FALSE(o.filesIn(kArchive).contains(F));
    EXPECT_TRUE(o.filesIn(kArchive).contains(QStringLiteral("Sterbefall_123456_2024-07-15.result")));  // small enough
    EXPECT_TRUE(o.screen.outboxPane.data().contains(QStringLiteral(" - Ablagefehler! (")));
    // The operator reads the cause in German.
    EXPECT_TRUE(o.screen.outboxPane.data().contains(QStringLiteral("kein Platz mehr auf dem Datenträger")))
        << o.screen.outboxPane.data().toStdString();
}

// Another program holding a whole-file lock on the send log was ignored by the append;
// an append lock held for ever stalled the run for ever after the mail went out. The
// wait ends after 10 seconds, the order is filed all the same, and the pane says that
// its record is missing and why.
TEST(Filing, ALogLockedByAnotherProgramIsWaitedForTenSecondsAndNamed) {
    QueueOffice o;
    prepareOrder(o);
    createArchiveFolders(o.shared.cDatver, QStringLiteral("123456"), QStringLiteral("Sterbefall"), o.files, o.clock);
    std::unique_ptr<dbf::Table> other = std::move(
        dbf::Table::open(o.office.native(QStringLiteral("ZUMA/CMail/LOG_SENDWERK.DBF")), dbf::ShareMode::Shared)
            .value());
    ASSERT_TRUE(other->lockFile());
    const double before = o.clock.pausedSeconds();
    file(o, FilingOutcome::Accepted);
    EXPECT_NEAR(o.clock.pausedSeconds() - before, 10, 0.2);
    EXPECT_TRUE(o.filesIn(kArchive).contains(F));
    EXPECT_TRUE(o.readSendLog().isEmpty());
    const QString pane = o.screen.outboxPane.data();
    EXPECT_TRUE(pane.contains(F + QStringLiteral(" - erledigt! - Ablagefehler! (nicht protokolliert: Die Tabelle ")))
        << pane.toStdString();
    EXPECT_TRUE(pane.contains(QStringLiteral("von einem anderen Programm gesperrt")));
}

}  // namespace
}  // namespace sendwerk
