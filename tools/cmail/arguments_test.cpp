#include "arguments.h"

#include <gtest/gtest.h>

namespace sendwerk::cmail {
namespace {

std::vector<QByteArray> args(std::initializer_list<const char*> list) {
    std::vector<QByteArray> out;
    for (const char* a : list) out.emplace_back(a);
    return out;
}

TEST(ParseAccount, SplitsAtFirstColonAndLastAt) {
    struct Case {
        const char* text;
        const char* user;
        const char* password;
        const char* host;
        int port;
    } cases[] = {
        {"info@firma.de:geheim@mail.firma.de:587", "info@firma.de", "geheim", "mail.firma.de", 587},
        {"u:pa:ss@w@rd@127.0.0.1:2525", "u", "pa:ss@w@rd", "127.0.0.1", 2525},
        {"u:@host:25", "u", "", "host", 25},
        {":@host:25", "", "", "host", 25},
        {"host:465", "", "", "host", 465},
        {"u:p@host", "u", "p", "host", 587},
        {"u:p@host:", "u", "p", "host", 587},
    };
    for (const Case& c : cases) {
        ServerAccount account;
        EXPECT_EQ(parseAccount(QString::fromUtf8(c.text), account), QString()) << c.text;
        EXPECT_EQ(account.user, QString::fromUtf8(c.user)) << c.text;
        EXPECT_EQ(account.password, QString::fromUtf8(c.password)) << c.text;
        EXPECT_EQ(account.host, QString::fromUtf8(c.host)) << c.text;
        EXPECT_EQ(account.port, c.port) << c.text;
        // The bytes main() masks in the process list are exactly this password.
        const QByteArray argument = QByteArray("-HOST:") + c.text;
        const ByteSpan secret = passwordSpan(argument);
        EXPECT_EQ(argument.mid(secret.start, secret.length), QByteArray(c.password)) << c.text;
    }
    EXPECT_EQ(passwordSpan("-to:u:p@host").length, 0);
}

TEST(ParseAccount, RejectsBadPortsAndMissingHost) {
    for (const char* text : {"u:p@host:abc", "u:p@host:0", "u:p@host:70000", "u:p@:25", "u:p@"}) {
        ServerAccount account;
        EXPECT_FALSE(parseAccount(QString::fromUtf8(text), account).isEmpty()) << text;
    }
}

TEST(ParseArguments, ReadsTheDispatchersPieces) {
    // "Grüße €" in Windows-1252, and a DOS path with an umlaut.
    const ParsedArguments parsed = parseArguments(
        args({"-host:user:p:w@x@mail.example.com:587", "-starttls", "-to:r@example.com", "-from:s@example.com",
              "-reply-to:b@example.com", "-subject:Angebot \"M\xfcller\" & Co",
              "-body:Gr\xfc\xdf"
              "e \x80",
              "-a:C:\\ZUMA\\Anh\xe4nge\\a.pdf", "-dsn:SFD", "-mdn", "-results:C:\\ZUMA\\CMail\\Ausgang\\x.result"}));
    ASSERT_TRUE(parsed.ok()) << parsed.errors.join("; ").toStdString();
    const MailRequest& r = parsed.request;
    EXPECT_EQ(r.account.user, "user");
    EXPECT_EQ(r.account.password, "p:w@x");
    EXPECT_EQ(r.account.host, "mail.example.com");
    EXPECT_TRUE(r.requireTls);
    EXPECT_EQ(r.to, "r@example.com");
    EXPECT_EQ(r.replyTo, "b@example.com");
    EXPECT_EQ(r.subject, QString::fromUtf8("Angebot \"Müller\" & Co"));
    EXPECT_EQ(r.body, QString::fromUtf8("Grüße €"));
    EXPECT_EQ(r.attachment, QString::fromUtf8("C:\\ZUMA\\Anhänge\\a.pdf"));
    EXPECT_EQ(r.dsn.notifyValue(), "SUCCESS,FAILURE,DELAY");
    EXPECT_TRUE(r.mdn);
    EXPECT_EQ(r.results, "C:\\ZUMA\\CMail\\Ausgang\\x.result");
}

TEST(ParseArguments, EmptyAttachmentAndDsnSubsets) {
    const ParsedArguments parsed =
        parseArguments(args({"-host::@h:25", "-to:r@x.test", "-from:s@x.test", "-a:", "-dsn:df", "-results:x.result"}));
    ASSERT_TRUE(parsed.ok()) << parsed.errors.join("; ").toStdString();
    EXPECT_TRUE(parsed.request.attachment.isEmpty());
    EXPECT_FALSE(parsed.request.account.wantsAuth());
    EXPECT_FALSE(parsed.request.requireTls);
    EXPECT_EQ(parsed.request.dsn.notifyValue(), "FAILURE,DELAY");
}

TEST(ParseArguments, SubjectLineBreaksBecomeBlanks) {
    const ParsedArguments parsed =
        parseArguments(args({"-host:h:25", "-to:r@x.test", "-from:s@x.test", "-subject:a\r\nb\nc", "-results:x"}));
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.request.subject, "a b c");
}

TEST(ParseArguments, BadInputIsReportedAndResultsStillKnown) {
    struct Case {
        std::vector<QByteArray> arguments;
        const char* why;
    } cases[] = {
        {args({"-to:r@x.test", "-from:s@x.test", "-results:x"}), "no -host:"},
        {args({"-host:h:25", "-from:s@x.test", "-results:x"}), "no -to:"},
        {args({"-host:h:25", "-to:r@x.test", "-results:x"}), "no -from:"},
        {args({"-host:h:25", "-to:kein-at", "-from:s@x.test", "-results:x"}), "address without @"},
        {args({"-host:h:25", "-to:r@x.test\r\nRCPT TO:<evil@x.test>", "-from:s@x.test", "-results:x"}),
         "CR LF injected in the recipient"},
        {args({"-host:h:25", "-to:r@x.test", "-from:s@x.test", "-dsn:SX", "-results:x"}), "unknown DSN letter"},
        {args({"-host:h:25", "-to:r@x.test", "-from:s@x.test", "Blanks", "-results:x"}), "stray piece"},
        {args({"-host:h:25", "-to:r@x.test", "-from:s@x.test", "-cc:a@b.c", "-results:x"}), "unknown option"},
    };
    for (const Case& c : cases) {
        const ParsedArguments parsed = parseArguments(c.arguments);
        EXPECT_FALSE(parsed.ok()) << c.why;
        EXPECT_EQ(parsed.request.results, "x") << c.why;
    }
}

}  // namespace
}  // namespace sendwerk::cmail
