#include "queue/pane_text.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

const QString kListing =
    QStringLiteral("\r\nMailAusgang\r\nDiese Mails sind zu versenden um 09:00:00 Uhr:\r\nab.ausg\r\nb.ausg\r\n");

TEST(PaneText, MarkFirstOccurrence) {
    // b.ausg lies inside ab.ausg: the earlier line gets the mark, as the office knows it.
    EXPECT_EQ(markFirst(kListing, QStringLiteral("b.ausg"), QStringLiteral(" - erledigt!")),
              "\r\nMailAusgang\r\nDiese Mails sind zu versenden um 09:00:00 Uhr:\r\nab.ausg - erledigt!\r\nb.ausg\r\n");
    EXPECT_EQ(markFirst(kListing, QStringLiteral("c.ausg"), QStringLiteral(" - Fehler!")), kListing);
}

TEST(PaneText, ListRecipientLines) {
    const QString F = QStringLiteral("b.ausg");
    const QString base = QStringLiteral("\r\nMailAusgang\r\nx.ausg\r\nb.ausg\r\ny.ausg\r\n");
    const struct {
        QString before;
        int n;
        QString after;
    } cases[] = {
        {base, 1, QStringLiteral("\r\nMailAusgang\r\nx.ausg\r\nb.ausg-1 erledigt!\r\ny.ausg\r\n")},
        {QStringLiteral("\r\nMailAusgang\r\nx.ausg\r\nb.ausg-1 erledigt!\r\ny.ausg\r\n"), 2,
         QStringLiteral("\r\nMailAusgang\r\nx.ausg\r\nb.ausg-1 erledigt!\r\nb.ausg-2 erledigt!\r\ny.ausg\r\n")},
        // recipient 1 left no line: recipient 2 goes below the first line (the empty one)
        {base, 2, QStringLiteral("\r\nb.ausg-2 erledigt!\r\nMailAusgang\r\nx.ausg\r\nb.ausg\r\ny.ausg\r\n")},
        {QStringLiteral("b.ausg-1 erledigt!"), 2, QStringLiteral("b.ausg-1 erledigt!\r\nb.ausg-2 erledigt!")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(markListRecipient(c.before, F, c.n, QStringLiteral(" erledigt!")), c.after) << c.n;
}

TEST(PaneText, FolderPaneLines) {
    const QString heading = QStringLiteral("Fehler im Quarantine-Ordner:");
    const struct {
        QString before, after;
    } cases[] = {
        {QString(), QStringLiteral("Fehler im Quarantine-Ordner:\r\nL")},
        {QStringLiteral("\r\nQuarantine-Ordner ist leer."), QStringLiteral("Fehler im Quarantine-Ordner:\r\nL")},
        {QStringLiteral("Fehler im Quarantine-Ordner:\r\nK"), QStringLiteral("Fehler im Quarantine-Ordner:\r\nK\r\nL")},
    };
    for (const auto& c : cases) EXPECT_EQ(addFolderLine(c.before, heading, QStringLiteral("L")), c.after);
}

}  // namespace
}  // namespace sendwerk
