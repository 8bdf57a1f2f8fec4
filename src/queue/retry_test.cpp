#include "queue/retry.h"

#include <gtest/gtest.h>

#include "queue/testing/queue_office.h"

namespace sendwerk {
namespace {

using testing::QueueOffice;

void fillFailureFolder(const QueueOffice& o) {
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure/a.ausg"), "A");
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure/a.result"), "R");
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure/b.ausg"), "B");
}

TEST(Retry, FailureFolderGoesBackToTheOutbox) {
    QueueOffice o(false);
    fillFailureFolder(o);
    o.screen.outboxPane.setData(QStringLiteral("\r\nMailAusgang ist leer.\r\n"));
    o.screen.retryFailureButton.setColorBG(7);
    EXPECT_TRUE(Wiederholen(o.shared, o.context));
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")), QStringList({"a.ausg", "b.ausg"}));
    EXPECT_TRUE(o.filesIn(QStringLiteral("Ausgang/failure")).isEmpty());
    EXPECT_EQ(o.office.read(QStringLiteral("ZUMA/CMail/Ausgang/a.ausg")), "A");
    EXPECT_EQ(o.screen.outboxPane.data(), "ACHTUNG\r\nzurück aus dem Failure-Ordner:\r\na.ausg\r\nb.ausg");
    EXPECT_EQ(o.screen.failurePane.data(), "\r\nFailure-Ordner ist geleert.");
    EXPECT_EQ(o.screen.retryFailureButton.colorBG(), 0);
}

TEST(Retry, SecondRetryAppendsAndQuarantineAddsItsHeading) {
    QueueOffice o(false);
    o.screen.outboxPane.setData(QStringLiteral("   \r\n"));
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure/a.ausg"), "A");
    Wiederholen(o.shared, o.context);
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure/c.ausg"), "C");
    Wiederholen(o.shared, o.context, 0);
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/quarantine/q-2.ausg"), "Q");
    o.screen.retryQuarantineButton.setColorBG(7);
    Wiederholen(o.shared, o.context, 2);
    EXPECT_EQ(o.screen.outboxPane.data(),
              "ACHTUNG\r\nzurück aus dem Failure-Ordner:\r\na.ausg\r\n\r\nc.ausg\r\n"
              "\r\nzurück aus dem Quarantine-Ordner:\r\nq-2.ausg");
    EXPECT_EQ(o.screen.quarantinePane.data(), "\r\nQuarantine-Ordner ist geleert.");
    EXPECT_EQ(o.screen.retryQuarantineButton.colorBG(), 0);
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")), QStringList({"a.ausg", "c.ausg", "q-2.ausg"}));
}

TEST(Retry, EmptyFolderStillSetsThePaneAndTheButton) {
    for (int nFQ : {0, 2}) {
        QueueOffice o(false);
        o.screen.outboxPane.setData(QStringLiteral("bericht"));
        o.screen.retryFailureButton.setColorBG(7);
        o.screen.retryQuarantineButton.setColorBG(7);
        EXPECT_TRUE(Wiederholen(o.shared, o.context, nFQ));
        EXPECT_EQ(o.screen.outboxPane.data(), "bericht\r\n");
        EXPECT_EQ((nFQ ? o.screen.quarantinePane : o.screen.failurePane).data(),
                  nFQ ? "\r\nQuarantine-Ordner ist geleert." : "\r\nFailure-Ordner ist geleert.");
        EXPECT_EQ((nFQ ? o.screen.retryQuarantineButton : o.screen.retryFailureButton).colorBG(), 0);
    }
}

// A copy that cannot be made (here a folder of the same name is in the way) leaves the
// order in its folder, says so in the outbox pane and keeps the folder indicator.
TEST(Retry, FailedCopyLeavesTheOrderInItsFolder) {
    QueueOffice o(false);
    fillFailureFolder(o);
    o.office.makeFolder(QStringLiteral("ZUMA/CMail/Ausgang/a.ausg"));
    o.screen.outboxPane.setData(QStringLiteral("\r\nMailAusgang ist leer.\r\n"));
    o.screen.retryFailureButton.setColorBG(7);
    EXPECT_TRUE(Wiederholen(o.shared, o.context));
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/failure")), QStringList({"a.ausg", "a.result"}));
    EXPECT_EQ(o.office.read(QStringLiteral("ZUMA/CMail/Ausgang/failure/a.ausg")), "A");
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")), QStringList({"b.ausg"}));
    EXPECT_TRUE(o.screen.outboxPane.data().startsWith(
        QStringLiteral("ACHTUNG\r\nzurück aus dem Failure-Ordner:\r\na.ausg - nicht zurückgeholt! (")))
        << o.screen.outboxPane.data().toStdString();
    EXPECT_TRUE(o.screen.outboxPane.data().endsWith(QStringLiteral(")\r\nb.ausg")));
    EXPECT_EQ(o.screen.failurePane.data(), "\r\nACHTUNG:\r\nFehler im Failure-Ordner:\r\na.ausg - Fehler");
    EXPECT_EQ(o.screen.retryFailureButton.colorBG(), 7);
}

}  // namespace
}  // namespace sendwerk
