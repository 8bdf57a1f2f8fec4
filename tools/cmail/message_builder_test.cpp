#include "message_builder.h"

#include <vmime/vmime.hpp>

#include <gtest/gtest.h>

namespace sendwerk::cmail {
namespace {

MailRequest request(const QString& subject, const QString& body, bool mdn = false) {
    MailRequest r;
    r.to = QStringLiteral("empfaenger@example.com");
    r.from = QStringLiteral("buero@firma.example");
    r.replyTo = QStringLiteral("antwort@firma.example");
    r.subject = subject;
    r.body = body;
    r.mdn = mdn;
    return r;
}

BuiltMessage build(const MailRequest& r, const Attachment* attachment = nullptr) {
    return buildMessage(r, attachment, QDateTime(QDate(2024, 7, 15), QTime(9, 30, 0)), newMessageId(r.from));
}

vmime::shared_ptr<vmime::message> parse(const std::string& data) {
    auto message = vmime::make_shared<vmime::message>();
    message->parse(data);
    return message;
}

std::string decoded(const vmime::shared_ptr<const vmime::contentHandler>& content) {
    std::string out;
    vmime::utility::outputStreamStringAdapter stream(out);
    content->extract(stream);
    return out;
}

// Every line 7-bit, ended by CR LF, no longer than SMTP allows.
void expectSafeForSmtp(const std::string& data, const std::string& what) {
    size_t lineStart = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        ASSERT_LT(static_cast<unsigned char>(data[i]), 0x80u) << what << ": 8-bit byte at " << i;
        if (data[i] == '\n') {
            ASSERT_TRUE(i > 0 && data[i - 1] == '\r') << what << ": bare LF at " << i;
            EXPECT_LE(i - lineStart, 1000u) << what;
            lineStart = i + 1;
        } else if (data[i] == '\r') {
            ASSERT_TRUE(i + 1 < data.size() && data[i + 1] == '\n') << what << ": bare CR at " << i;
        }
    }
}

TEST(BuildMessage, SubjectsSurviveRfc2047) {
    const QString subjects[] = {
        QStringLiteral("Rechnung 123"),
        QString::fromUtf8("Grüße aus Köln"),
        QString::fromUtf8("Preis: 100 € (brutto)"),
        QString::fromUtf8("Angebot \"Müller\" & Co"),
        QString::fromUtf8("Sterbefall 123456 – Überführung, Beisetzung und Trauerfeier am Freitag; "
                          "bitte Rückmeldung an das Büro bis Donnerstag €€€ äöüÄÖÜß"),
        QString(),
    };
    for (const QString& subject : subjects) {
        const BuiltMessage built = build(request(subject, QStringLiteral("x")));
        expectSafeForSmtp(built.data, subject.toStdString());
        const auto message = parse(built.data);
        const auto text = message->getHeader()->Subject()->getValue<vmime::text>();
        EXPECT_EQ(QString::fromStdString(text->getConvertedText(vmime::charsets::UTF_8)), subject)
            << subject.toStdString();
    }
}

TEST(BuildMessage, BodyIsQuotedPrintableUtf8WithCrLf) {
    struct Case {
        QString body;
        QString expected;
    } cases[] = {
        {QString::fromUtf8("Sehr geehrte Frau Müller,\nanbei die Rechnung über 100 €.\r\nGrüße"),
         QString::fromUtf8("Sehr geehrte Frau Müller,\r\nanbei die Rechnung über 100 €.\r\nGrüße")},
        {QStringLiteral(".\r\n.. Punkt am Zeilenanfang\r\n."), QStringLiteral(".\r\n.. Punkt am Zeilenanfang\r\n.")},
        {QStringLiteral("alter Mac\rZeilenende"), QStringLiteral("alter Mac\r\nZeilenende")},
        {QString(1200, QChar(0x00E4)), QString(1200, QChar(0x00E4))},
    };
    for (const Case& c : cases) {
        const BuiltMessage built = build(request(QStringLiteral("s"), c.body));
        expectSafeForSmtp(built.data, c.body.left(40).toStdString());
        vmime::messageParser parser(parse(built.data));
        ASSERT_EQ(parser.getTextPartCount(), 1u);
        const auto part = parser.getTextPartAt(0);
        EXPECT_EQ(part->getCharset(), vmime::charset(vmime::charsets::UTF_8));
        EXPECT_EQ(QString::fromStdString(decoded(part->getText())), c.expected) << c.body.left(40).toStdString();
    }
}

TEST(BuildMessage, CarriesTheHeadersTheDispatcherPromises) {
    for (const bool mdn : {false, true}) {
        const BuiltMessage built = build(request(QStringLiteral("s"), QStringLiteral("b"), mdn));
        const auto header = parse(built.data)->getHeader();
        EXPECT_EQ(header->From()->getValue<vmime::mailbox>()->getEmail().toString(), "buero@firma.example");
        EXPECT_EQ(header->To()->getValue<vmime::addressList>()->getAddressAt(0)->generate(), "empfaenger@example.com");
        EXPECT_EQ(header->ReplyTo()->getValue<vmime::mailbox>()->getEmail().toString(), "antwort@firma.example");
        EXPECT_EQ('<' + header->MessageId()->getValue<vmime::messageId>()->getId() + '>', built.messageId);
        EXPECT_NE(built.messageId.find("@firma.example>"), std::string::npos);
        EXPECT_EQ(header->Date()->getValue<vmime::datetime>()->getYear(), 2024);
        EXPECT_TRUE(header->hasField(vmime::fields::MIME_VERSION));
        EXPECT_EQ(header->hasField(vmime::fields::DISPOSITION_NOTIFICATION_TO), mdn);
        if (mdn) {
            const auto to = header->DispositionNotificationTo()->getValue<vmime::mailboxList>();
            EXPECT_EQ(to->getMailboxAt(0)->getEmail().toString(), "buero@firma.example");
        }
    }
}

TEST(BuildMessage, AttachmentIsBase64WithNameAndType) {
    Attachment attachment;
    attachment.fileName = QString::fromUtf8("Rechnung Müller.pdf");
    for (int i = 0; i < 4096; ++i) attachment.content.append(char(i * 7 % 256));
    const BuiltMessage built = build(request(QStringLiteral("s"), QStringLiteral("b")), &attachment);
    expectSafeForSmtp(built.data, "with attachment");

    vmime::messageParser parser(parse(built.data));
    ASSERT_EQ(parser.getAttachmentCount(), 1u);
    const auto part = parser.getAttachmentAt(0);
    EXPECT_EQ(part->getType().generate(), "application/pdf");
    EXPECT_EQ(part->getEncoding().getName(), "base64");
    EXPECT_EQ(QString::fromStdString(part->getName().getConvertedText(vmime::charsets::UTF_8)), attachment.fileName);
    EXPECT_EQ(QByteArray::fromStdString(decoded(part->getData())), attachment.content);
}

TEST(BuildMessage, DisplayNamesWithUmlautsAreEncoded) {
    MailRequest r = request(QStringLiteral("s"), QStringLiteral("b"));
    r.from = QString::fromUtf8("Büro Müller <buero@firma.example>");
    r.replyTo = QString::fromUtf8("\"Müller, Nord\" <nord@firma.example>");
    r.to = QString::fromUtf8("\"Kunde, Erika\" <erika@example.com>");
    const BuiltMessage built = build(r);
    expectSafeForSmtp(built.data, "display names");
    const auto header = parse(built.data)->getHeader();
    const auto from = header->From()->getValue<vmime::mailbox>();
    EXPECT_EQ(from->getEmail().toString(), "buero@firma.example");
    EXPECT_EQ(QString::fromStdString(from->getName().getConvertedText(vmime::charsets::UTF_8)),
              QString::fromUtf8("Büro Müller"));
    const auto replyTo = header->ReplyTo()->getValue<vmime::mailbox>();
    EXPECT_EQ(QString::fromStdString(replyTo->getName().getConvertedText(vmime::charsets::UTF_8)),
              QString::fromUtf8("Müller, Nord"));
    const auto to = header->To()->getValue<vmime::addressList>();
    ASSERT_EQ(to->getAddressCount(), 1u);
    const auto erika = vmime::dynamicCast<vmime::mailbox>(to->getAddressAt(0));
    EXPECT_EQ(erika->getEmail().toString(), "erika@example.com");
    EXPECT_EQ(QString::fromStdString(erika->getName().getConvertedText(vmime::charsets::UTF_8)), "Kunde, Erika");
}

TEST(SplitAddress, FindsNameAndBareAddress) {
    const struct {
        const char* text;
        const char* name;
        const char* email;
    } cases[] = {
        {"a@b.de", "", "a@b.de"},
        {" a@b.de ", "", "a@b.de"},
        {"Büro <a@b.de>", "Büro", "a@b.de"},
        {"\"Büro, Nord\" <a@b.de>", "Büro, Nord", "a@b.de"},
        {"<a@b.de>", "", "a@b.de"},
    };
    for (const auto& c : cases) {
        const Address a = splitAddress(QString::fromUtf8(c.text));
        EXPECT_EQ(a.name, QString::fromUtf8(c.name)) << c.text;
        EXPECT_EQ(a.email, QString::fromUtf8(c.email)) << c.text;
    }
}

TEST(ContentType, FollowsTheExtension) {
    const struct {
        const char* name;
        const char* type;
    } cases[] = {
        {"a.pdf", "application/pdf"}, {"A.PDF", "application/pdf"},         {"brief.txt", "text/plain"},
        {"foto.JPG", "image/jpeg"},   {"ohne", "application/octet-stream"}, {"x.unbekannt", "application/octet-stream"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(contentTypeFor(QString::fromUtf8(c.name)), QString::fromUtf8(c.type)) << c.name;
}

TEST(MessageId, IsFreshAndUsesTheSendersDomain) {
    const std::string a = newMessageId(QStringLiteral("Büro <buero@firma.example>"));
    const std::string b = newMessageId(QStringLiteral("buero@firma.example"));
    EXPECT_NE(a, b);
    EXPECT_EQ(a.front(), '<');
    EXPECT_NE(a.find("@firma.example>"), std::string::npos) << a;
    EXPECT_NE(newMessageId(QStringLiteral("kein-at")).find("@cmail.invalid>"), std::string::npos);
}

}  // namespace
}  // namespace sendwerk::cmail
