#include "queue/mail_client.h"

#include <gtest/gtest.h>

#include "queue/testing/queue_office.h"

namespace sendwerk {
namespace {

using testing::PlannedAnswer;
using testing::QueueOffice;

const ConnectionData kConnection{"H", "user", "pw", "587", "S", "B"};

const QString kOrderPath = QStringLiteral("C:\\ZUMA\\CMail\\Ausgang\\A_123456_x.ausg");
const QString kResultPath = QStringLiteral("C:\\ZUMA\\CMail\\Ausgang\\A_123456_x.result");

// One order mail of A_123456_x.ausg with this subject and text.
MailResult sendOne(QueueOffice& o, const QByteArray& subject = "B", const QByteArray& body = "T") {
    const OrderMail mail{"r@x", subject, body, "", kResultPath.toLatin1()};
    return sendOrderMail(o.shared, o.context, kConnection, kOrderPath, kResultPath, mail);
}

TEST(MailClient, ParameterStringOfTheOfficeExample) {
    const OrderMail mail{"R", "Betreff", "Text", "C:\\a.pdf", "X.result"};
    EXPECT_EQ(orderParameterString(kConnection, mail),
              QByteArray("-host:user:pw@H:587") +
                  " -starttls -to:R -from:S -reply-to:B \"-subject:Betreff\" \"-body:Text\" -a:C:\\a.pdf "
                  "-dsn:SFD -mdn \"-results:X.result\"");
}

TEST(MailClient, EmptyAttachmentKeepsTheOption) {
    const OrderMail mail{"R", "B", "T", "", "X.result"};
    EXPECT_TRUE(orderParameterString(kConnection, mail).contains("\"-body:T\" -a: -dsn:SFD"));
}

TEST(MailClient, ArgumentVectorKeepsBlanksInsideOneArgument) {
    const OrderMail mail{"r@x", "Ihre Unterlagen", "Sehr geehrte\r\nDamen", "C:\\PDF\\V 1.pdf", "C:\\ZUMA\\X.result"};
    const QList<QByteArray> expected = {"-host:user:pw@H:587",
                                        "-starttls",
                                        "-to:r@x",
                                        "-from:S",
                                        "-reply-to:B",
                                        "-subject:Ihre Unterlagen",
                                        "-body:Sehr geehrte\r\nDamen",
                                        "-a:C:\\PDF\\V 1.pdf",
                                        "-dsn:SFD",
                                        "-mdn",
                                        "-results:C:\\ZUMA\\X.result"};
    EXPECT_EQ(orderArguments(kConnection, mail), expected);
}

TEST(MailClient, ReportMailQuotesOnlyTheValuesAndRepliesToTheSender) {
    const ReportMail mail{"op@x", "F E H L E R - Meldung von CMail", "A C H T U N G :", "Fehlermail.result"};
    EXPECT_EQ(reportParameterString(kConnection, mail),
              "-host:user:pw@H:587 -starttls -to:op@x -from:S -reply-to:S -subject:\"F E H L E R - Meldung von CMail\" "
              "-body:\"A C H T U N G :\" -dsn:SFD -mdn -results:\"Fehlermail.result\"");
    const QList<QByteArray> expected = {"-host:user:pw@H:587",
                                        "-starttls",
                                        "-to:op@x",
                                        "-from:S",
                                        "-reply-to:S",
                                        "-subject:F E H L E R - Meldung von CMail",
                                        "-body:A C H T U N G :",
                                        "-dsn:SFD",
                                        "-mdn",
                                        "-results:Fehlermail.result"};
    EXPECT_EQ(reportArguments(kConnection, mail), expected);
}

TEST(MailClient, ResultMarkers) {
    const struct {
        QByteArray text;
        MailOutcome outcome;
    } cases[] = {
        {R"({"status": "accepted"})", MailOutcome::Accepted},
        {R"({"status": "failure"})", MailOutcome::Failure},
        {R"({"status": "accepted", "x": {"status": "failure"}})", MailOutcome::Failure},
        {R"({"status":  "accepted"})", MailOutcome::Neither},
        {R"({"status": "Accepted"})", MailOutcome::Neither},
        {"", MailOutcome::Neither},
    };
    for (const auto& c : cases) EXPECT_EQ(judgeResultText(c.text), c.outcome) << c.text.toStdString();
}

// The result file is looked for at 5 and at 15 seconds after the start, never later.
TEST(MailClient, ResultFileLookedForAtFiveAndFifteenSeconds) {
    const struct {
        const char* name;
        PlannedAnswer answer;
        MailOutcome outcome;
        double seconds;  // from showing the mail to the judgement
    } cases[] = {
        {"accepted at once", PlannedAnswer::accepted(0), MailOutcome::Accepted, 7},
        {"accepted at 4 s", PlannedAnswer::accepted(4), MailOutcome::Accepted, 7},
        {"failure at 4 s", PlannedAnswer::failure(4), MailOutcome::Failure, 7},
        {"both markers", PlannedAnswer::text(R"("status": "accepted" "status": "failure")", 1), MailOutcome::Failure,
         7},
        {"neither", PlannedAnswer::text(R"({"status": "queued"})", 1), MailOutcome::Neither, 7},
        {"two blanks", PlannedAnswer::text(R"({"status":  "accepted"})", 1), MailOutcome::Neither, 7},
        {"accepted at 12 s", PlannedAnswer::accepted(12), MailOutcome::Accepted, 17},
        {"accepted at 16 s", PlannedAnswer::accepted(16), MailOutcome::NoAnswer, 17},
        {"never", PlannedAnswer::never(), MailOutcome::NoAnswer, 17},
    };
    for (const auto& c : cases) {
        QueueOffice o(false);
        o.client.plan(c.answer);
        const double before = o.clock.pausedSeconds();
        EXPECT_EQ(sendOne(o).outcome, c.outcome) << c.name;
        EXPECT_DOUBLE_EQ(o.clock.pausedSeconds() - before, c.seconds) << c.name;
        ASSERT_EQ(o.client.orderMails().size(), 1) << c.name;
        EXPECT_EQ(o.client.orderMails()[0].program, "C:\\ZUMA\\CMail\\cmail.exe");
    }
}

// A result file left from an earlier attempt used to be found at the 5-second check
// while the new client still ran, so a failed send was judged by it. It is moved aside
// before the start; only the new client's result counts.
TEST(MailClient, AResultFileFromAnEarlierAttemptIsMovedAsideAndNeverJudged) {
    const struct {
        const char* name;
        QByteArray earlier;
        PlannedAnswer answer;
        MailOutcome outcome;
    } cases[] = {
        {"earlier accepted, new one late", testing::kAccepted, PlannedAnswer::failure(12), MailOutcome::Failure},
        {"earlier failure, new one never", testing::kFailure, PlannedAnswer::never(), MailOutcome::NoAnswer},
    };
    for (const auto& c : cases) {
        QueueOffice o(false);
        o.writeOrder(QStringLiteral("A_123456_x.result"), c.earlier);
        o.writeOrder(QStringLiteral("A_123456_x.result.alt"), "older still");
        o.client.plan(c.answer);
        EXPECT_EQ(sendOne(o).outcome, c.outcome) << c.name;
        EXPECT_EQ(o.office.read(QStringLiteral("ZUMA/CMail/Ausgang/A_123456_x.result.alt")), c.earlier) << c.name;
    }
}

// A call that cannot be made for this order is told apart from a client that does not
// answer and from one that is missing: the run must not stop at such an order for ever.
TEST(MailClient, ACallThatCannotBeMadeSaysWhy) {
    const struct {
        const char* name;
        QByteArray subject;
        QByteArray body;
        PlannedAnswer answer;
        MailOutcome outcome;
        const char* cause;
    } cases[] = {
        {"NUL byte in the subject", QByteArray("Be\0treff", 8), "T", PlannedAnswer::accepted(), MailOutcome::CannotCall,
         "NUL-Zeichen"},
        {"text beyond 128 KiB", "B", QByteArray(128 * 1024, 'T'), PlannedAnswer::accepted(), MailOutcome::CannotCall,
         "länger als 128 KiB"},
        {"program missing", "B", "T", PlannedAnswer::missingProgram(), MailOutcome::NotStarted, ""},
    };
    for (const auto& c : cases) {
        QueueOffice o(false);
        o.client.plan(c.answer);
        const MailResult sent = sendOne(o, c.subject, c.body);
        EXPECT_EQ(sent.outcome, c.outcome) << c.name;
        EXPECT_TRUE(sent.cause.contains(QString::fromUtf8(c.cause))) << c.name << ": " << sent.cause.toStdString();
        EXPECT_DOUBLE_EQ(o.clock.pausedSeconds(), 2) << c.name << ": no wait for a result that cannot come";
    }
}

TEST(MailClient, CurrentMailPaneShowsTheOrderDecodedForDisplay) {
    const OrderMail mail{"r@x",
                         "Gr\xFC\xDF"
                         "e",
                         "Text", "C:\\a.pdf", "x.result"};
    EXPECT_EQ(
        currentMailText(QStringLiteral("C:\\ZUMA\\CMail\\Ausgang\\A_123456_x.ausg"), mail),
        QStringLiteral("Diese E-Mail wird jetzt gesendet:\r\nC:\\ZUMA\\CMail\\Ausgang\\A_123456_x.ausg : \r\n\r\n"
                       "Diese Mail geht an: \r\nr@x\r\nBetreff: \r\nGrüße\r\nText: \r\nText\r\nAnhang: \r\nC:\\a.pdf"));
}

}  // namespace
}  // namespace sendwerk
