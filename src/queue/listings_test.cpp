#include "queue/listings.h"

#include <gtest/gtest.h>

#include "queue/testing/queue_office.h"

namespace sendwerk {
namespace {

using testing::QueueOffice;

TEST(Listings, EmptyOutbox) {
    QueueOffice o(false);
    EXPECT_EQ(MailAusgang(o.shared.cDatver, o.files, o.clock), "\r\nMailAusgang ist leer.\r\n");
}

TEST(Listings, OutboxWithTwoOrdersAndTheCurrentTime) {
    QueueOffice o(false);
    o.writeOrder(QStringLiteral("a_123456_x.ausg"), "x");
    o.writeOrder(QStringLiteral("b_123456_x.AUSG"), "x");
    o.writeOrder(QStringLiteral("c_123456_x.result"), "x");
    o.clock.pause(83);  // 09:01:23
    EXPECT_EQ(
        MailAusgang(o.shared.cDatver, o.files, o.clock),
        "\r\nMailAusgang\r\nDiese Mails sind zu versenden um 09:01:23 Uhr:\r\na_123456_x.ausg\r\nb_123456_x.AUSG\r\n");
}

TEST(Listings, FailureAndQuarantineFolders) {
    QueueOffice o(false);
    EXPECT_EQ(SendeFehler(o.shared.cDatver, o.files), "\r\nFailure-Ordner ist leer.");
    EXPECT_EQ(SendeFehler(o.shared.cDatver, o.files, 2), "\r\nQuarantine-Ordner ist leer.");
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure/a.ausg"), "x");
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure/a.result"), "x");
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/failure/b.ausg"), "x");
    o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/quarantine/q.ausg"), "x");
    const QString failure =
        QStringLiteral("\r\nACHTUNG:\r\nFehler im Failure-Ordner:\r\na.ausg - Fehler\r\nb.ausg - Fehler");
    EXPECT_EQ(SendeFehler(o.shared.cDatver, o.files), failure);
    EXPECT_EQ(SendeFehler(o.shared.cDatver, o.files, 0), failure);
    EXPECT_EQ(SendeFehler(o.shared.cDatver, o.files, 2),
              "\r\nACHTUNG:\r\nFehler im Quarantine-Ordner:\r\nq.ausg - Adresse?");
}

TEST(Listings, MissingFoldersListAsEmpty) {
    QueueOffice o(false);
    o.shared.cDatver = QStringLiteral("C:\\NIRGENDS\\");
    EXPECT_EQ(MailAusgang(o.shared.cDatver, o.files, o.clock), "\r\nMailAusgang ist leer.\r\n");
    EXPECT_EQ(SendeFehler(o.shared.cDatver, o.files), "\r\nFailure-Ordner ist leer.");
    EXPECT_EQ(SendeFehler(o.shared.cDatver, o.files, 2), "\r\nQuarantine-Ordner ist leer.");
}

}  // namespace
}  // namespace sendwerk
