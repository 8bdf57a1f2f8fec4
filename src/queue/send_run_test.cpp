#include "queue/send_run.h"

#include <gtest/gtest.h>

#include <QFile>

#include "dbf/table.h"
#include "platform/code_page.h"
#include "queue/report_mail.h"
#include "queue/retry.h"
#include "queue/testing/queue_office.h"

namespace sendwerk {
namespace {

using testing::LogRecord;
using testing::PlannedAnswer;
using testing::QueueOffice;

const QByteArray kWhitelist = "ok@firma.de,\r\nrefuse@firma.de,\r\nherr meier\r\n";

QString listing(const char* time, const QStringList& names) {
    QString text = QStringLiteral("\r\nMailAusgang\r\nDiese Mails sind zu versenden um ") + QString::fromLatin1(time) +
                   QStringLiteral(" Uhr:");
    for (const QString& name : names) text += QStringLiteral("\r\n") + name;
    return text + QStringLiteral("\r\n");
}

class SendRun : public ::testing::Test {
protected:
    SendRun() { o.writeWhitelist(kWhitelist); }
    QueueOffice o;
};

TEST_F(SendRun, EmptyOutbox) {
    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::EmptyOutbox);
    EXPECT_EQ(o.screen.outboxPane.data(), "\r\nMailAusgang ist leer");
    EXPECT_TRUE(o.client.orderMails().isEmpty());
    EXPECT_TRUE(o.client.reportMails().isEmpty());
    EXPECT_EQ(o.shared.nAufSendung, 0);
    EXPECT_EQ(o.screen.sendButton.colorBG(), 6);
}

TEST_F(SendRun, GuardRefusesASecondRun) {
    o.writeOrder(QStringLiteral("Brief_100001_x.ausg"), "ok@firma.de");
    o.shared.nAufSendung = 1;
    o.screen.sendButton.setColorBG(5);
    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Busy);
    EXPECT_EQ(o.screen.outboxPane.data(), "");
    EXPECT_EQ(o.screen.sendButton.colorBG(), 5);
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")), QStringList({"Brief_100001_x.ausg"}));
    EXPECT_TRUE(o.client.orderMails().isEmpty());
}

TEST_F(SendRun, ThreeSingleOrdersAcceptedFailureQuarantine) {
    o.writeOrder(QStringLiteral("Brief_100001_x.ausg"),
                 "ok@firma.de|||Gr\xFC\xDF"
                 "e|||Text|||");
    o.writeOrder(QStringLiteral("Brief_100002_x.ausg"), "refuse@firma.de|||B|||T|||");
    o.writeOrder(QStringLiteral("Brief_100003_x.ausg"), "fremd@x.de|||B|||T|||");
    o.client.plan({PlannedAnswer::accepted(), PlannedAnswer::failure(3)});
    o.screen.outboxPane.setData(QStringLiteral("alt"));
    o.screen.failurePane.setData(QStringLiteral("\r\nFailure-Ordner ist leer."));
    o.screen.quarantinePane.setData(QStringLiteral("\r\nQuarantine-Ordner ist leer."));

    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);

    const QString report = listing("09:00:00", {"Brief_100001_x.ausg - erledigt!", "Brief_100002_x.ausg - Fehler!",
                                                "Brief_100003_x.ausg - Adresse?"}) +
                           "\r\n\r\nAbschluss-Meldung um 09:00:32 Uhr:\r\nalle Sendungen bearbeitet!"
                           "\r\n\r\nABER:\r\nDateien im Failure-Ordner.\r\nACHTUNG:\r\nFehler im "
                           "Failure-Ordner:\r\nBrief_100002_x.ausg - Fehler"
                           "\r\n\r\nABER:\r\nDateien im Quarantine-Ordner.\r\nACHTUNG:\r\nFehler im "
                           "Quarantine-Ordner:\r\nBrief_100003_x.ausg - Adresse?";
    EXPECT_EQ(o.screen.outboxPane.data(), report);
    EXPECT_EQ(o.screen.failurePane.data(), "Fehler im Failure-Ordner:\r\nBrief_100002_x.ausg - FEHLER");
    EXPECT_EQ(o.screen.quarantinePane.data(), "Fehler im Quarantine-Ordner:\r\nBrief_100003_x.ausg - FEHLER");
    EXPECT_EQ(o.screen.retryFailureButton.colorBG(), 7);
    EXPECT_EQ(o.screen.retryQuarantineButton.colorBG(), 7);
    EXPECT_EQ(o.screen.sendButton.colorBG(), 6);
    EXPECT_EQ(o.shared.nAufSendung, 0);

    ASSERT_EQ(o.client.orderMails().size(), 2);
    EXPECT_EQ(o.client.orderMails()[0].value("-subject:"),
              "Gr\xFC\xDF"
              "e");
    EXPECT_EQ(o.client.orderMails()[1].value("-to:"), "refuse@firma.de");
    ASSERT_EQ(o.client.reportMails().size(), 1);
    const testing::ClientStart& mail = o.client.reportMails()[0];
    EXPECT_EQ(mail.value("-to:"), kDefaultErrorReportAddress);
    EXPECT_EQ(mail.value("-subject:"), "F E H L E R - Meldung von Sendwerk");
    EXPECT_EQ(
        decode1252(mail.value("-body:")),
        "A C H T U N G :\r\nBeim Senden einer Mail sind folgende nicht automatisch korrigierbare Fehler passiert!\r\n" +
            report);
    EXPECT_EQ(mail.value("-reply-to:"), "buero@example.org");
    EXPECT_DOUBLE_EQ(o.clock.pausedSeconds(),
                     37);  // 32 for the orders (1 of them settle time), 5 after the report mail

    EXPECT_TRUE(o.filesIn(QStringLiteral("Ausgang")).isEmpty());
    EXPECT_EQ(o.filesIn(QStringLiteral("gesendet/100001/Brief")),
              QStringList({"Brief_100001_x.ausg", "Brief_100001_x.result"}));
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/failure")),
              QStringList({"Brief_100002_x.ausg", "Brief_100002_x.result"}));
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/quarantine")), QStringList({"Brief_100003_x.ausg"}));

    const QList<LogRecord> log = o.readSendLog();
    ASSERT_EQ(log.size(), 3);
    const struct {
        const char *auftrnr, *art, *zeit, *adresse;
        // Each record is written as soon as the outcome is known (the quarantine's before
        // its pause of 3 s).
    } expected[] = {{"100001", "M", "09:00:11", "ok@firma.de"},
                    {"100002", "F", "09:00:23", "refuse@firma.de"},
                    {"100003", "Q", "09:00:29", "fremd@x.de"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log[i].auftrnr, expected[i].auftrnr) << i;
        EXPECT_EQ(log[i].art, expected[i].art) << i;
        EXPECT_EQ(log[i].datum, "15.07.24") << i;
        EXPECT_EQ(log[i].zeit, expected[i].zeit) << i;
        EXPECT_EQ(log[i].formular, "Brief_10000" + QByteArray::number(i + 1) + "_x.ausg") << i;
        EXPECT_EQ(log[i].adresse, expected[i].adresse) << i;
    }

    // Retry both folders; the next run mails the refused order again and quarantines
    // the other once more.
    Wiederholen(o.shared, o.context);
    Wiederholen(o.shared, o.context, 2);
    EXPECT_TRUE(
        o.screen.outboxPane.data().endsWith("\r\nzurück aus dem Failure-Ordner:\r\nBrief_100002_x.ausg\r\n\r\nzurück "
                                            "aus dem Quarantine-Ordner:\r\nBrief_100003_x.ausg"));
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")), QStringList({"Brief_100002_x.ausg", "Brief_100003_x.ausg"}));
    EXPECT_EQ(o.screen.retryFailureButton.colorBG(), 0);
    EXPECT_EQ(o.screen.retryQuarantineButton.colorBG(), 0);
    o.client.plan(PlannedAnswer::accepted());
    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/quarantine")), QStringList({"Brief_100003_x.ausg"}));
    EXPECT_EQ(o.filesIn(QStringLiteral("gesendet/100002/Brief")),
              QStringList({"Brief_100002_x.ausg", "Brief_100002_x.result"}));
    EXPECT_EQ(o.readSendLog().size(), 5);
}

TEST_F(SendRun, ListOfThreeRecipientsAcceptedFailureQuarantine) {
    const QString F = QStringLiteral("Brief_200001_x.ausg");
    const QByteArray order = "{ok@firma.de,refuse@firma.de,fremd@x.de}|||B|||T|||C:\\ZUMA\\PDF\\v.pdf";
    o.writeOrder(F, order);
    o.office.write(QStringLiteral("ZUMA/PDF/v.pdf"), "%PDF");
    o.client.plan({PlannedAnswer::accepted(), PlannedAnswer::failure()});

    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);

    EXPECT_TRUE(o.filesIn(QStringLiteral("Ausgang")).isEmpty());
    EXPECT_EQ(o.filesIn(QStringLiteral("gesendet/200001/Brief")),
              QStringList({"Brief_200001_x-1.ausg", "Brief_200001_x-1.pdf", "Brief_200001_x-1.result"}));
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/failure")),
              QStringList({"Brief_200001_x-2.ausg", "Brief_200001_x-2.result"}));
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/quarantine")), QStringList({"Brief_200001_x-3.ausg"}));
    EXPECT_EQ(o.office.read(QStringLiteral("ZUMA/CMail/Ausgang/quarantine/Brief_200001_x-3.ausg")), order);
    EXPECT_TRUE(o.screen.outboxPane.data().startsWith(listing(
        "09:00:00",
        {"Brief_200001_x.ausg-1 erledigt!\r\nBrief_200001_x.ausg-2 Fehler!\r\nBrief_200001_x.ausg-3 Adresse?"})))
        << o.screen.outboxPane.data().toStdString();
    EXPECT_EQ(o.screen.failurePane.data(), "Fehler im Failure-Ordner:\r\nBrief_200001_x.ausg-2 FEHLER");
    EXPECT_EQ(o.screen.quarantinePane.data(), "Fehler im Quarantine-Ordner:\r\nBrief_200001_x.ausg-3 Adresse?");

    const QList<LogRecord> log = o.readSendLog();
    ASSERT_EQ(log.size(), 3);
    const char* arts[] = {"M", "F", "Q"};
    const char* addresses[] = {"ok@firma.de", "refuse@firma.de", "fremd@x.de"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log[i].auftrnr, "200001");
        EXPECT_EQ(log[i].formular, "Brief_200001_x.ausg");
        EXPECT_EQ(log[i].art, arts[i]);
        EXPECT_EQ(log[i].adresse, addresses[i]);
    }
}

TEST_F(SendRun, OrdersThatReachNoEndStateStayInTheOutbox) {
    const struct {
        const char* name;
        QByteArray content;
        const char* mark;  // in the outbox pane, after the name
    } cases[] = {
        {"Brief_300001_x.ausg", "{}", ""},
        {"Brief_300002_x.ausg", "Herr Meier|||B", " - @Fehler!"},
        {"Brief_300003_x.ausg", "{Herr Meier}|||B", "-1 @Fehler!"},
        {"Brief_300004_x.ausg", "", " - Datei ohne Inhalt!"},
        {"ohneNummer.ausg", "ok@firma.de", " - Dateiname?"},
        {"Brief_300005_x.ausg", "ok@firma.de|||B", " - erledigt!"},  // the run goes on to it
    };
    for (const auto& c : cases) o.writeOrder(QString::fromLatin1(c.name), c.content);
    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);
    for (const auto& c : cases) {
        EXPECT_TRUE(
            o.screen.outboxPane.data().contains(QStringLiteral("\r\n") + c.name + c.mark + QStringLiteral("\r\n")))
            << c.name;
        EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")).contains(QString::fromLatin1(c.name)),
                  QByteArray(c.mark) != " - erledigt!")
            << c.name;
    }
    ASSERT_EQ(o.client.orderMails().size(), 1);
    EXPECT_EQ(o.client.orderMails()[0].value("-to:"), "ok@firma.de");
    ASSERT_EQ(o.readSendLog().size(), 1);
    EXPECT_EQ(o.readSendLog()[0].auftrnr, "300005");
    EXPECT_TRUE(o.client.reportMails().isEmpty());
    EXPECT_TRUE(
        o.screen.outboxPane.data().endsWith("\r\n\r\nAbschluss-Meldung um 09:00:29 Uhr:\r\nalle Sendungen bearbeitet!"))
        << o.screen.outboxPane.data().toStdString();
}

TEST_F(SendRun, NoAnswerForTheSecondOrderEndsTheRun) {
    for (const char* name : {"Brief_400001_x.ausg", "Brief_400002_x.ausg", "Brief_400003_x.ausg"})
        o.writeOrder(QString::fromLatin1(name), "ok@firma.de|||B|||T");
    o.client.plan({PlannedAnswer::accepted(4), PlannedAnswer::accepted(16)});

    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::NoAnswer);

    EXPECT_EQ(o.filesIn(QStringLiteral("gesendet/400001/Brief")),
              QStringList({"Brief_400001_x.ausg", "Brief_400001_x.result"}));
    // The late result file lands after the judgement; the order itself is untouched.
    EXPECT_TRUE(o.filesIn(QStringLiteral("Ausgang")).contains(QStringLiteral("Brief_400002_x.ausg")));
    EXPECT_TRUE(o.filesIn(QStringLiteral("Ausgang")).contains(QStringLiteral("Brief_400003_x.ausg")));
    EXPECT_EQ(o.readSendLog().size(), 1);
    EXPECT_EQ(o.screen.pendingPane.data(),
              "Noch zu versendende E-Mails:\r\nBrief_400002_x.ausg\r\nBrief_400003_x.ausg\r\n");
    EXPECT_TRUE(o.screen.currentPane.data().contains(QStringLiteral("Brief_400002_x.ausg : ")));
    EXPECT_EQ(o.screen.outboxPane.data(),
              listing("09:00:00", {"Brief_400001_x.ausg - erledigt!", "Brief_400002_x.ausg", "Brief_400003_x.ausg"}));

    ASSERT_EQ(o.client.reportMails().size(), 1);
    EXPECT_EQ(o.client.reportMails()[0].value("-subject:"), "F E H L E R - Meldung von CMail");
    EXPECT_EQ(decode1252(o.client.reportMails()[0].value("-body:")),
              "A C H T U N G :\r\n\r\nVermutlich:\r\nKeine Rückmeldung vom Mail-Server.");
    ASSERT_EQ(o.dialogs.size(), 1);
    EXPECT_EQ(o.dialogs[0].text, "Probleme beim Senden!\r\nVermutlich:\r\nKeine Rückmeldung vom Mail-Server.");
    EXPECT_EQ(o.dialogs[0].title, "Abschluss-Meldung:");
    EXPECT_EQ(o.dialogs[0].width, 500);
    EXPECT_EQ(o.dialogs[0].height, 500);
    EXPECT_EQ(o.shared.nAufSendung, 0);
    EXPECT_EQ(o.screen.sendButton.colorBG(), 6);
}

TEST_F(SendRun, AMissingMailClientIsNamedAndNotWaitedFor) {
    o.writeOrder(QStringLiteral("Brief_400001_x.ausg"), "ok@firma.de|||B|||T");
    o.writeOrder(QStringLiteral("Brief_400002_x.ausg"), "ok@firma.de|||B|||T");
    o.client.plan({PlannedAnswer::missingProgram()});

    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::NoClient);

    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")), QStringList({"Brief_400001_x.ausg", "Brief_400002_x.ausg"}));
    EXPECT_TRUE(o.readSendLog().isEmpty());
    const QString problem = "Das Mail-Programm C:\\ZUMA\\CMail\\cmail.exe fehlt oder lässt sich nicht starten (" +
                            o.office.native(QStringLiteral("ZUMA/CMail/cmail.exe")) + ").";
    ASSERT_EQ(o.dialogs.size(), 1);
    EXPECT_EQ(o.dialogs[0].text, "Probleme beim Senden!\r\nUrsache:\r\n" + problem);
    EXPECT_FALSE(o.dialogs[0].text.contains(QStringLiteral("Mail-Server")));
    EXPECT_DOUBLE_EQ(o.clock.pausedSeconds(), 6)
        << "the pauses up to the start (1 of them the settle time); none waits for a result";
    EXPECT_EQ(o.shared.nAufSendung, 0);
}

TEST_F(SendRun, AMissingWhitelistIsSaidInTheOutboxPane) {
    QFile::remove(o.office.native(QStringLiteral("ZUMA/CMail/WhiteList.mad")));
    o.writeOrder(QStringLiteral("Brief_700001_x.ausg"), "ok@firma.de|||B|||T");

    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);

    const QString pane = o.screen.outboxPane.data();
    EXPECT_TRUE(
        pane.contains("ACHTUNG: C:\\ZUMA\\CMail\\WhiteList.mad fehlt, jeder Empfänger kommt in die Quarantäne!"))
        << pane.toStdString();
    EXPECT_FALSE(pane.contains(QStringLiteral("leer"), Qt::CaseInsensitive)) << "the word of an empty folder";
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang/quarantine")), QStringList({"Brief_700001_x.ausg"}));
    EXPECT_TRUE(o.client.orderMails().isEmpty());
}

TEST_F(SendRun, IncompleteConnectionDataSendsNothing) {
    o.office.write(QStringLiteral("ZUMA/CMail/Verbindung.dat"), "smtp.example.org\r\nbuero\r\n");
    o.writeOrder(QStringLiteral("Brief_500001_x.ausg"), "ok@firma.de");
    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::NoConnectionData);
    EXPECT_EQ(
        o.screen.outboxPane.data(),
        "\r\nVerbindungsdaten unvollständig: 2 von 6 Werten in CMail\\Verbindung.dat.\r\nEs wurde nichts gesendet.");
    EXPECT_TRUE(o.client.orderMails().isEmpty());
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")), QStringList({"Brief_500001_x.ausg"}));
    EXPECT_EQ(o.shared.nAufSendung, 0);
}

TEST_F(SendRun, ErrorReportsGoToTheConfiguredAddress) {
    o.context.errorReportAddress = QStringLiteral("it@b\u00FCro.example");
    o.writeOrder(QStringLiteral("Brief_600001_x.ausg"), "fremd@x.de|||B|||T|||");
    EXPECT_EQ(Senden(o.shared, o.context), RunEnd::Completed);
    ASSERT_EQ(o.client.reportMails().size(), 1);
    EXPECT_EQ(o.client.reportMails()[0].value("-to:"), "it@b\xFCro.example") << "as Windows-1252, like every argument";
}

TEST_F(SendRun, MissingOrderTableIsAnErrorThatReleasesTheGuard) {
    o.writeWhitelist("email");
    o.writeOrder(QStringLiteral("Brief_600001_x.ausg"), "Email");
    EXPECT_THROW(Senden(o.shared, o.context), dbf::DbfError);
    EXPECT_EQ(o.shared.nAufSendung, 0);
    EXPECT_EQ(o.filesIn(QStringLiteral("Ausgang")), QStringList({"Brief_600001_x.ausg"}));
}

}  // namespace
}  // namespace sendwerk
