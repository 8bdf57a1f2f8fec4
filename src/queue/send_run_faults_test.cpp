// The send run under faults found by fault injection: a kill at any step, a client call
// that cannot be made, orders that cannot be filed, a producer still writing its order,
// temporary files that a crash left behind. Each case is a small office on the virtual
// clock; a kill is a traced child held at its n-th file-changing system call.
#include "queue/send_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "platform/code_page.h"
#include "platform/temporary_files.h"
#include "queue/testing/queue_office.h"
#include "support/traced_child.h"

namespace sendwerk {
namespace {

using testing::LogRecord;
using testing::PlannedAnswer;
using testing::QueueOffice;

const QByteArray kWhitelist = "ok@firma.de,\r\n";
const QString F = QStringLiteral("Brief_700001_x.ausg");

QStringList temporariesIn(const QueueOffice& o) {
    QStringList found;
    for (QDirIterator it(o.office.root(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        if (isTemporarySibling(QFileInfo(it.next()).fileName())) found.append(it.filePath());
    return found;
}

int recordsOf(const QList<LogRecord>& log, const char* art) {
    int count = 0;
    for (const LogRecord& r : log) count += r.art == art ? 1 : 0;
    return count;
}

// Killed at any write, rename, erase or sync of a run, the office used to keep a filed
// order without its record (for ever) or a blank record. Whatever the kill left, the
// order is in the outbox or filed with its record, and a restart leaves it filed once,
// with no temporary file anywhere.
TEST(SendRunFaults, AKillAtAnyStepLosesNoOrderAndNoRecord) {
    int kill = 1;
    for (;; ++kill) {
        QueueOffice o;
        o.writeWhitelist(kWhitelist);
        o.writeOrder(F, "ok@firma.de|||B|||T|||");
        sendwerk::testing::TracedChild run([&] { return Senden(o.shared, o.context) == RunEnd::Completed ? 0 : 1; });
        if (!run.stopAtCall(sendwerk::testing::fileChangingCalls(), kill)) {
            EXPECT_EQ(run.finish(), 0);
            break;
        }
        run.kill();
        const bool inOutbox = o.filesIn(QStringLiteral("Ausgang")).contains(F);
        const bool filed = o.filesIn(QStringLiteral("gesendet/700001/Brief")).contains(F);
        EXPECT_TRUE(inOutbox || filed) << "order lost, killed at step " << kill;
        const QList<LogRecord> log = o.readSendLog();
        for (const LogRecord& r : log) EXPECT_EQ(r.art, "M") << "blank record, killed at step " << kill;
        if (!inOutbox) {
            EXPECT_EQ(recordsOf(log, "M"), 1) << "filed without its record, killed at step " << kill;
        }

        // The restart: start-up's clean-up, then the next run.
        EXPECT_EQ(Senden(o.shared, o.context), inOutbox ? RunEnd::Completed : RunEnd::EmptyOutbox) << kill;
        EXPECT_FALSE(o.filesIn(QStringLiteral("Ausgang")).contains(F)) << kill;
        EXPECT_TRUE(o.filesIn(QStringLiteral("gesendet/700001/Brief")).contains(F)) << kill;
        EXPECT_LE(o.client.orderMails().size(), 1) << "sent again more than once, killed at step " << kill;
        const int records = recordsOf(o.readSendLog(), "M");
        EXPECT_TRUE(records == 1 || records == 2) << records << " records, killed at step " << kill;
        EXPECT_EQ(temporariesIn(o), QStringList()) << "killed at step " << kill;
    }
    EXPECT_GT(kill, 10) << "the run made fewer file changes than a log record and three copies";
}

// An order whose client call cannot be made showed as "no answer" and ended every run
// at itself. It is filed as a failure, with the cause, and the run goes on.
TEST(SendRunFaults, AnOrderTheClientCannotTakeIsFiledAsAFailureAndTheRunGoesOn) {
    const struct {
        const char* name;
        QByteArray order;
        PlannedAnswer answer;
        const char* cause;
    } cases[] = {
        {"NUL byte in the subject", QByteArray("ok@firma.de|||Be\0treff|||T|||", 29), PlannedAnswer::accepted(),
         "NUL-Zeichen"},
        {"text beyond 128 KiB", "ok@firma.de|||B|||" + QByteArray(130 * 1024, 'T') + "|||", PlannedAnswer::accepted(),
         "länger als 128 KiB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QueueOffice o;
        o.writeWhitelist(kWhitelist);
        o.writeOrder(F, c.order);
        o.writeOrder(QStringLiteral("Brief_700002_x.ausg"), "ok@firma.de|||B|||T|||");
        o.client.plan(c.answer);
        EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);

        EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/failure")), QStringList({F}));
        EXPECT_EQ(o.filesIn(QStringLiteral("gesendet/700002/Brief")).size(), 2) << "the next order went out";
        const QList<LogRecord> log = o.readSendLog();
        ASSERT_EQ(log.size(), 2);
        EXPECT_EQ(log[0].art, "F");
        EXPECT_EQ(log[1].art, "M");
        const QString line = F + QStringLiteral(" - Fehler! (Mail-Programm nicht aufzurufen: ");
        EXPECT_TRUE(o.screen.outboxPane.data().contains(line)) << o.screen.outboxPane.data().toStdString();
        EXPECT_TRUE(o.screen.outboxPane.data().contains(QString::fromUtf8(c.cause)));
        ASSERT_EQ(o.client.reportMails().size(), 1);
        EXPECT_TRUE(decode1252(o.client.reportMails()[0].value("-body:")).contains(QString::fromUtf8(c.cause)));
    }
}

// An order that reached its end but could not be filed stayed in the outbox: a mail
// that went out was sent and logged again in every run, a quarantine logged again. It
// is set aside in the outbox, named in the closing report, and handled once.
TEST(SendRunFaults, AnOrderThatCannotBeFiledIsHandledOnce) {
    const struct {
        const char* name;
        QByteArray recipient;
        PlannedAnswer answer;
        const char* folderToBreak;  // below ZUMA/CMail: replaced by a plain file
        const char* art;
        int mails;
    } cases[] = {
        {"accepted, archive unusable", "ok@firma.de", PlannedAnswer::accepted(), "gesendet", "M", 1},
        {"refused, failure folder unusable", "ok@firma.de", PlannedAnswer::failure(), "Ausgang/failure", "F", 1},
        {"quarantined, quarantine folder unusable", "fremd@x.de", PlannedAnswer::accepted(), "Ausgang/quarantine", "Q",
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QueueOffice o;
        o.writeWhitelist(kWhitelist);
        const QString broken = o.office.native(QStringLiteral("ZUMA/CMail/") + c.folderToBreak);
        QDir(broken).removeRecursively();
        o.office.write(QStringLiteral("ZUMA/CMail/") + c.folderToBreak, "no folder");
        o.writeOrder(F, c.recipient + "|||B|||T|||");
        o.client.plan({c.answer, c.answer});

        EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);
        EXPECT_TRUE(o.screen.outboxPane.data().contains(QStringLiteral("Erledigt, aber nicht abgelegt")))
            << o.screen.outboxPane.data().toStdString();
        ASSERT_EQ(o.client.reportMails().size(), 1) << "the error report names it";
        EXPECT_TRUE(
            decode1252(o.client.reportMails()[0].value("-body:")).contains(F + QStringLiteral(".ablagefehler")));
        EXPECT_EQ(Senden(o.shared, o.context), RunEnd::EmptyOutbox) << "the next run does not take it again";

        EXPECT_EQ(o.client.orderMails().size(), c.mails);
        const QList<LogRecord> log = o.readSendLog();
        ASSERT_EQ(log.size(), 1);
        EXPECT_EQ(log[0].art, c.art);
        EXPECT_EQ(o.office.read(QStringLiteral("ZUMA/CMail/Ausgang/") + F + ".ablagefehler"),
                  c.recipient + "|||B|||T|||");
    }
}

// The office's programs write orders in place. A run that listed one while it was
// being written sent a partial text and erased the file. An order that changes within
// the settle time after the listing waits for the next run, which sends it whole.
TEST(SendRunFaults, AnOrderStillBeingWrittenWaitsForTheNextRun) {
    const struct {
        double settle;
        double producerAfter;  // seconds after the start of the run
    } cases[] = {{2, 0.5}, {2, 1.9}, {5, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.producerAfter);
        QueueOffice o;
        o.context.settleSeconds = c.settle;
        o.writeWhitelist(kWhitelist);
        o.writeOrder(F, "ok@firma.de|||Betr");
        o.clock.after(c.producerAfter, [&] { o.writeOrder(F, "ok@firma.de|||Betreff|||Text|||"); });

        EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);
        EXPECT_TRUE(o.client.orderMails().isEmpty());
        EXPECT_TRUE(o.screen.outboxPane.data().contains(F + QStringLiteral(" - wird noch geschrieben")));
        EXPECT_TRUE(o.readSendLog().isEmpty());

        EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);
        ASSERT_EQ(o.client.orderMails().size(), 1);
        EXPECT_EQ(o.client.orderMails()[0].value("-subject:"), "Betreff");
        EXPECT_EQ(o.client.orderMails()[0].value("-body:"), "Text");
    }
}

// Temporary files of interrupted copies stayed in the archive and the failure folder
// for ever. The run removes the program's own (and only those) and says so.
TEST(SendRunFaults, LeftoversOfInterruptedCopiesAreRemovedAndNamed) {
    QueueOffice o;
    const QStringList ours = {QStringLiteral("gesendet/123456/Brief/Brief_123456_x.ausg.~0123abcd"),
                              QStringLiteral("Ausgang/failure/Brief_123457_x.result.~deadbeef"),
                              QStringLiteral("Ausgang/Brief_123458_x.result.~00000000")};
    const QStringList others = {QStringLiteral("Ausgang/failure/notiz.~txt"),
                                QStringLiteral("Ausgang/Brief_123458_x.ausg.~DEADBEEF"),
                                QStringLiteral("gesendet/123456/Brief/Brief_123456_x.ausg")};
    for (const QString& name : ours + others) o.office.write(QStringLiteral("ZUMA/CMail/") + name, "x");

    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::EmptyOutbox);
    for (const QString& name : ours)
        EXPECT_FALSE(o.office.exists(QStringLiteral("ZUMA/CMail/") + name)) << name.toStdString();
    for (const QString& name : others)
        EXPECT_TRUE(o.office.exists(QStringLiteral("ZUMA/CMail/") + name)) << name.toStdString();
    const QString pane = o.screen.outboxPane.data();
    EXPECT_TRUE(pane.startsWith(
        QStringLiteral("\r\nMailAusgang ist leer\r\n\r\nReste abgebrochener Schreibvorgänge entfernt:")))
        << pane.toStdString();
    EXPECT_TRUE(
        pane.contains(QStringLiteral("C:\\ZUMA\\CMail\\gesendet\\123456\\Brief\\Brief_123456_x.ausg.~0123abcd")));
    EXPECT_EQ(pane.count(QStringLiteral(".~")), 3);

    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::EmptyOutbox);
    EXPECT_EQ(o.screen.outboxPane.data(), QStringLiteral("\r\nMailAusgang ist leer")) << "named once";
}

}  // namespace
}  // namespace sendwerk
