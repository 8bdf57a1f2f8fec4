#include "send_report.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace sendwerk::cmail {
namespace {

SendReport sample(bool accepted) {
    SendReport r;
    r.accepted = accepted;
    r.message = QString::fromUtf8("Empfänger abgelehnt: \"x\"\r\nzweite Zeile\t\x01");
    r.step = QStringLiteral("RCPT");
    r.replyCode = 550;
    r.replyText = QStringLiteral("5.7.8 bad credentials for s3cr:et@pw");
    r.recipient = QStringLiteral("r@example.com");
    r.server = QStringLiteral("mail.example.com:587");
    r.dsnAsked = true;
    r.dsnNote = QStringLiteral("kein DSN");
    r.messageId = "<abc@example.com>";
    r.timestamp = QDateTime(QDate(2024, 7, 15), QTime(9, 30, 5), Qt::UTC);
    return r;
}

TEST(SendReportJson, HoldsTheExactMarkerAndEveryField) {
    for (const bool accepted : {true, false}) {
        const QByteArray json = toJson(sample(accepted), QStringLiteral("s3cr:et@pw"));
        const QByteArray marker = accepted ? "\"status\": \"accepted\"" : "\"status\": \"failure\"";
        EXPECT_TRUE(json.contains(marker)) << json.toStdString();
        EXPECT_FALSE(json.contains(accepted ? "\"failure\"" : "\"accepted\""));

        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(json, &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
        EXPECT_EQ(o["message"].toString(), sample(accepted).message);
        EXPECT_EQ(o["step"].toString(), "RCPT");
        EXPECT_EQ(o["reply_code"].toInt(), 550);
        EXPECT_EQ(o["recipient"].toString(), "r@example.com");
        EXPECT_TRUE(o["dsn_asked"].toBool());
        EXPECT_FALSE(o["dsn_requested"].toBool());
        EXPECT_EQ(o["dsn_note"].toString(), "kein DSN");
        EXPECT_EQ(o["message_id"].toString(), "<abc@example.com>");
        EXPECT_EQ(o["timestamp"].toString(), "2024-07-15T09:30:05Z");
    }
}

TEST(SendReportJson, NeverHoldsThePassword) {
    const QString secret = QStringLiteral("s3cr:et@pw");
    const QByteArray json = toJson(sample(false), secret);
    EXPECT_FALSE(json.contains(secret.toUtf8())) << json.toStdString();
    EXPECT_TRUE(json.contains("bad credentials for ***"));
    EXPECT_FALSE(summaryLine(sample(false), secret).contains(secret));
}

TEST(SendReportMasking, MasksThePasswordOnlyWhereItStands) {
    const struct {
        const char* secret;
        const char* text;
        const char* shown;
    } cases[] = {
        {"e", "Empfänger abgelehnt: e", "Empfänger abgelehnt: ***"},
        {"e", "user:e@host", "user:***@host"},
        {"geheim", "geheimnis geheim", "geheimnis ***"},
        {"geheim", "geheimgeheim", "geheimgeheim"},
        {"s3cr:et@pw", "bad credentials for s3cr:et@pw", "bad credentials for ***"},
        {"@1", "buero@1 and x@1y", "buero*** and x@1y"},
        {"", "nothing to hide", "nothing to hide"},
    };
    for (const auto& c : cases) {
        SendReport r;
        r.message = QString::fromUtf8(c.text);
        const QString secret = QString::fromUtf8(c.secret);
        EXPECT_EQ(summaryLine(r, secret), QStringLiteral("cmail: failure : ") + QString::fromUtf8(c.shown))
            << c.secret << " in " << c.text;
        const QJsonObject o = QJsonDocument::fromJson(toJson(r, secret)).object();
        EXPECT_EQ(o["message"].toString(), QString::fromUtf8(c.shown)) << c.secret << " in " << c.text;
    }
}

TEST(SendReportJson, SummaryIsOneLine) {
    const QString line = summaryLine(sample(false), QString());
    EXPECT_FALSE(line.contains('\n'));
    EXPECT_TRUE(line.startsWith("cmail: failure r@example.com at RCPT (550"));
}

}  // namespace
}  // namespace sendwerk::cmail
