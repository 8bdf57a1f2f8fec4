// cmail as the dispatcher runs it: a real process with Windows-1252 arguments, against
// the loopback SMTP server on 127.0.0.1, in a throw-away office mapped as drive C:.
#include "mailserver/mail_server_fixture.h"
#include "support/temp_office.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <vector>

extern char** environ;

namespace sendwerk::testing {
namespace {

const QByteArray password = "ge:heim@1";
const QString resultDos = QStringLiteral("C:\\ZUMA\\CMail\\Ausgang\\Sterbefall_123456_2024-07-15.result");
const QString resultRelative = QStringLiteral("ZUMA/CMail/Ausgang/Sterbefall_123456_2024-07-15.result");

struct Finished {
    int exitCode = -1;
    QByteArray errorOutput;
    qint64 milliseconds = 0;
};

struct Started {
    pid_t pid = -1;
    int errorOutput = -1;  // read end of the child's stderr
};

// Starts `program` with byte arguments (QProcess would re-encode them as UTF-8) in
// `folder`, with SENDWERK_CONFIG set and, when given, a file size limit (a full disk).
Started startProgram(const QByteArray& program, const std::vector<QByteArray>& arguments, const QByteArray& folder,
                     const QByteArray& config, std::optional<rlim_t> fileSizeLimit = std::nullopt) {
    std::vector<char*> argv{const_cast<char*>(program.constData())};
    for (const QByteArray& a : arguments) argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);
    const QByteArray configEntry = "SENDWERK_CONFIG=" + config;
    std::vector<char*> envp{const_cast<char*>(configEntry.constData())};
    for (char** e = environ; *e; ++e) {
        if (qstrncmp(*e, "SENDWERK_CONFIG=", 16) != 0) envp.push_back(*e);
    }
    envp.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    // The child inherits the limit; this process writes nothing while it holds it.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    if (fileSizeLimit) {
        const rlimit limited{*fileSizeLimit, before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    Started started;
    const int rc = posix_spawn(&started.pid, program.constData(), &actions, nullptr, argv.data(), envp.data());
    setrlimit(RLIMIT_FSIZE, &before);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        close(pipeFds[0]);
        throw std::runtime_error("cannot start " + program.toStdString());
    }
    started.errorOutput = pipeFds[0];
    return started;
}

// Collects the stderr of a started program until it ends; kills it after 30 s.
Finished collect(const Started& started, const QElapsedTimer& clock) {
    Finished finished;
    const QDeadlineTimer deadline(30000);
    for (;;) {
        pollfd wait{started.errorOutput, POLLIN, 0};
        if (poll(&wait, 1, int(deadline.remainingTime())) <= 0) {
            kill(started.pid, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t n = read(started.errorOutput, buffer, sizeof buffer);
        if (n <= 0) break;
        finished.errorOutput.append(buffer, n);
    }
    close(started.errorOutput);
    int status = 0;
    waitpid(started.pid, &status, 0);
    finished.milliseconds = clock.elapsed();
    finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return finished;
}

Finished runProgram(const QByteArray& program, const std::vector<QByteArray>& arguments, const QByteArray& folder,
                    const QByteArray& config, std::optional<rlim_t> fileSizeLimit = std::nullopt) {
    QElapsedTimer clock;
    clock.start();
    return collect(startProgram(program, arguments, folder, config, fileSizeLimit), clock);
}

// A port on 127.0.0.1 that nothing listens on.
int closedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

QByteArray pdfBytes() {
    QByteArray bytes = "%PDF-1.4\n";
    for (int i = 0; i < 20000; ++i) bytes.append(char((i * 131 + 7) % 256));
    return bytes;
}

// The dispatcher's pieces, in Windows-1252; `replace` swaps a piece by its option name.
struct Pieces {
    std::vector<QByteArray> list;

    Pieces& set(const QByteArray& option, std::optional<QByteArray> value) {
        std::vector<QByteArray> out;
        bool done = false;
        for (const QByteArray& piece : list) {
            if (piece.startsWith(option + ':') || piece == option) {
                if (value && !done) out.push_back(*value);
                done = true;
            } else {
                out.push_back(piece);
            }
        }
        if (value && !done) out.push_back(*value);
        list = out;
        return *this;
    }
};

Pieces orderPieces(int port) {
    return Pieces{{
        "-host:buero@firma.test:" + password + "@127.0.0.1:" + QByteArray::number(port),
        "-starttls",
        "-to:kunde@example.test",
        "-from:buero@firma.test",
        "-reply-to:antwort@firma.test",
        "-subject:Rechnung f\xfcr M\xfcller \x80 100",  // 1252: ü, €
        "-body:Sehr geehrte Frau M\xfcller,\r\nanbei die Rechnung \xfc"
        "ber 100 \x80.\r\n.Gru\xdf",
        "-a:C:\\ZUMA\\Anh\xe4nge\\Rechnung.pdf",  // 1252: ä
        "-dsn:SFD",
        "-mdn",
        "-results:" + resultDos.toLatin1(),
    }};
}

class CmailProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        certificateFolder_ = new QTemporaryDir();
        certificates_ = new Certificates(makeCertificates(certificateFolder_->path()));
    }
    static void TearDownTestSuite() {
        delete certificates_;
        delete certificateFolder_;
    }

    void SetUp() override {
        office_.write(QString::fromUtf8("ZUMA/Anhänge/Rechnung.pdf"), pdfBytes());
        office_.makeFolder(QStringLiteral("ZUMA/CMail/Ausgang"));
        writeSettings(true);
    }

    void writeSettings(bool trustTestCa) {
        QString text = "[drives]\nC=" + office_.root() + "\n";
        if (trustTestCa) text += "[mail]\ncafile=" + certificates_->caFile() + "\n";
        office_.write(QStringLiteral("sendwerk.conf"), text.toUtf8());
    }

    static QStringList serverOptions(const QStringList& extra, bool otherHost = false) {
        return tlsOptions(*certificates_, otherHost) +
               QStringList{"--user", "buero@firma.test", "--password", QString::fromLatin1(password)} + extra;
    }

    Finished runCmail(const std::vector<QByteArray>& pieces, std::optional<rlim_t> fileSizeLimit = std::nullopt) {
        return runProgram(QFile::encodeName(binaryDir() + QStringLiteral("/tools/cmail/cmail")), pieces,
                          QFile::encodeName(office_.root()), QFile::encodeName(office_.native("sendwerk.conf")),
                          fileSizeLimit);
    }

    Started startCmail(const std::vector<QByteArray>& pieces) {
        return startProgram(QFile::encodeName(binaryDir() + QStringLiteral("/tools/cmail/cmail")), pieces,
                            QFile::encodeName(office_.root()), QFile::encodeName(office_.native("sendwerk.conf")));
    }

    QJsonObject result(const QString& relative = resultRelative) const {
        return QJsonDocument::fromJson(office_.read(relative)).object();
    }

    // What every run promises, whatever the outcome.
    void expectSafeResult(const Finished& run, const QString& relative = resultRelative) {
        const QByteArray text = office_.read(relative);
        ASSERT_FALSE(text.isEmpty()) << "no result file " << relative.toStdString();
        EXPECT_TRUE(text.contains("\"status\": \"accepted\"") != text.contains("\"status\": \"failure\""))
            << text.toStdString();
        EXPECT_FALSE(text.contains(password)) << text.toStdString();
        EXPECT_FALSE(run.errorOutput.contains(password)) << run.errorOutput.toStdString();
        EXPECT_EQ(run.errorOutput.count('\n'), 1) << run.errorOutput.toStdString();
        EXPECT_LT(run.milliseconds, 12000);
    }

    TempOffice office_;
    static inline QTemporaryDir* certificateFolder_ = nullptr;
    static inline Certificates* certificates_ = nullptr;
};

bool sawCommand(const MailServer& server, const QString& command) {
    for (const ReceivedCommand& c : server.commands()) {
        if (c.command == command) return true;
    }
    return false;
}

TEST_F(CmailProcess, DeliversTheOrderMailWithEverythingItPromises) {
    MailServer server(serverOptions({}));
    const Finished run = runCmail(orderPieces(server.port()).list);
    expectSafeResult(run);
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput.toStdString();
    ASSERT_TRUE(server.waitForMessages(1));

    const QJsonObject envelope = server.envelope(1);
    EXPECT_EQ(envelope["mail_from"].toString(), "buero@firma.test");
    EXPECT_EQ(envelope["mail_options"].toArray(), QJsonArray({"RET=HDRS"}));
    const QJsonObject recipient = envelope["recipients"].toArray().at(0).toObject();
    EXPECT_EQ(recipient["address"].toString(), "kunde@example.test");
    EXPECT_EQ(recipient["options"].toArray(), QJsonArray({"NOTIFY=SUCCESS,FAILURE,DELAY"}));
    EXPECT_TRUE(envelope["tls"].toBool());
    EXPECT_EQ(envelope["auth_login"].toString(), "buero@firma.test");
    for (const ReceivedCommand& c : server.commands())
        EXPECT_TRUE(c.tls || (c.command != "AUTH" && c.command != "MAIL")) << c.command.toStdString();

    const QJsonObject mail = server.decoded(1);
    const QJsonObject headers = mail["headers"].toObject();
    EXPECT_EQ(headers["Subject"].toString(), QString::fromUtf8("Rechnung für Müller € 100"));
    EXPECT_EQ(headers["From"].toString(), "buero@firma.test");
    EXPECT_EQ(headers["To"].toString(), "kunde@example.test");
    EXPECT_EQ(headers["Reply-To"].toString(), "antwort@firma.test");
    EXPECT_EQ(headers["Disposition-Notification-To"].toString(), "buero@firma.test");
    EXPECT_EQ(headers["MIME-Version"].toString(), "1.0");
    EXPECT_FALSE(headers["Date"].toString().isEmpty());
    EXPECT_EQ(mail["body"].toString().trimmed(),
              QString::fromUtf8("Sehr geehrte Frau Müller,\r\nanbei die Rechnung über 100 €.\r\n.Gruß"));
    EXPECT_EQ(mail["body_charset"].toString(), "utf-8");
    EXPECT_EQ(mail["body_encoding"].toString(), "quoted-printable");
    EXPECT_TRUE(mail["defects"].toArray().isEmpty()) << QJsonDocument(mail).toJson().toStdString();
    const QJsonArray attachments = mail["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 1);
    const QJsonObject pdf = attachments.at(0).toObject();
    EXPECT_EQ(pdf["filename"].toString(), "Rechnung.pdf");
    EXPECT_EQ(pdf["content_type"].toString(), "application/pdf");
    EXPECT_EQ(pdf["encoding"].toString(), "base64");
    EXPECT_EQ(QByteArray::fromBase64(pdf["data"].toString().toLatin1()), pdfBytes());

    const QJsonObject r = result();
    EXPECT_EQ(r["recipient"].toString(), "kunde@example.test");
    EXPECT_EQ(r["reply_code"].toInt(), 250);
    EXPECT_TRUE(r["tls"].toBool());
    EXPECT_TRUE(r["dsn_requested"].toBool());
    EXPECT_TRUE(r["mdn_requested"].toBool());
    EXPECT_EQ(r["message_id"].toString(), headers["Message-ID"].toString());
    EXPECT_FALSE(r["timestamp"].toString().isEmpty());
}

// Accepted variants: each changes the order or the server a little.
TEST_F(CmailProcess, AcceptedVariants) {
    const struct Case {
        const char* name;
        QStringList server;
        std::vector<std::pair<QByteArray, std::optional<QByteArray>>> changes;
        QString subject;
        int attachments;
        bool dsn;
        QString resultFile;
    } cases[] = {
        {"empty -a:", {}, {{"-a", "-a:"}}, QString::fromUtf8("Rechnung für Müller € 100"), 0, true, resultRelative},
        {"subject with blanks and quotes as one argument",
         {},
         {{"-subject", "-subject:Angebot \"M\xfcller & S\xf6hne\" \x96 10 % Rabatt  (zwei Blanks)"}, {"-a", "-a:"}},
         QString::fromUtf8("Angebot \"Müller & Söhne\" – 10 % Rabatt  (zwei Blanks)"),
         0,
         true,
         resultRelative},
        {"DSN not offered", {"--no-dsn"}, {}, QString::fromUtf8("Rechnung für Müller € 100"), 1, false, resultRelative},
        {"SMTPUTF8 offered",
         {"--smtputf8"},
         {},
         QString::fromUtf8("Rechnung für Müller € 100"),
         1,
         true,
         resultRelative},
        {"report mail form: no -a:, bare result name",
         {},
         {{"-a", std::nullopt},
          {"-reply-to", "-reply-to:buero@firma.test"},
          {"-results", "-results:Fehlermail.result"}},
         QString::fromUtf8("Rechnung für Müller € 100"),
         0,
         true,
         QStringLiteral("Fehlermail.result")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MailServer server(serverOptions(c.server));
        Pieces pieces = orderPieces(server.port());
        for (const auto& [option, value] : c.changes) pieces.set(option, value);
        const Finished run = runCmail(pieces.list);
        expectSafeResult(run, c.resultFile);
        ASSERT_EQ(run.exitCode, 0) << run.errorOutput.toStdString();
        ASSERT_TRUE(server.waitForMessages(1));

        const QByteArray raw = server.message(1);
        for (const char ch : raw) ASSERT_LT(static_cast<unsigned char>(ch), 0x80u) << "8-bit byte in the message";
        const QJsonObject mail = server.decoded(1);
        EXPECT_EQ(mail["headers"].toObject()["Subject"].toString(), c.subject);
        EXPECT_EQ(mail["attachments"].toArray().size(), c.attachments);
        EXPECT_EQ(mail["body"].toString().trimmed(),
                  QString::fromUtf8("Sehr geehrte Frau Müller,\r\nanbei die Rechnung über 100 €.\r\n.Gruß"));

        const QJsonObject envelope = server.envelope(1);
        const QJsonObject recipient = envelope["recipients"].toArray().at(0).toObject();
        EXPECT_EQ(envelope["mail_options"].toArray().isEmpty(), !c.dsn);
        EXPECT_EQ(recipient["options"].toArray().isEmpty(), !c.dsn);
        const QJsonObject r = result(c.resultFile);
        EXPECT_EQ(r["dsn_requested"].toBool(), c.dsn);
        EXPECT_EQ(r["dsn_note"].toString().isEmpty(), c.dsn) << r["dsn_note"].toString().toStdString();
    }
}

TEST_F(CmailProcess, FailuresAreReportedWithTheStepAndNoSecretLeaks) {
    const struct Case {
        const char* name;
        QStringList server;  // empty name list = no server at all (closed port)
        bool noServer;
        bool otherHost;
        bool trustTestCa;
        std::vector<std::pair<QByteArray, std::optional<QByteArray>>> changes;
        int exitCode;
        const char* step;
        int replyCode;     // -1: do not check
        const char* says;  // part of the message
        bool authAllowed;  // may the server have seen AUTH?
    } cases[] = {
        {"wrong password",
         {},
         false,
         false,
         true,
         {{"-host", "-host:buero@firma.test:falsch@127.0.0.1:PORT"}},
         1,
         "AUTH",
         535,
         "Anmeldung",
         true},
        {"recipient 550",
         {"--reject550", "kunde@example.test"},
         false,
         false,
         true,
         {},
         1,
         "RCPT",
         550,
         "abgelehnt",
         true},
        {"recipient 450",
         {"--reject450", "kunde@example.test"},
         false,
         false,
         true,
         {},
         1,
         "RCPT",
         450,
         "abgelehnt",
         true},
        {"no STARTTLS while required", {"--no-starttls"}, false, false, true, {}, 1, "STARTTLS", -1, "STARTTLS", false},
        {"certificate for another host", {}, false, true, true, {}, 1, "STARTTLS", -1, "anderen Host", false},
        {"certificate from a CA nobody trusts",
         {},
         false,
         false,
         false,
         {},
         1,
         "STARTTLS",
         -1,
         "nicht vertrauenswürdig",
         false},
        {"port closed", {}, true, false, true, {}, 1, "connect", 0, "Keine Verbindung", false},
        {"missing attachment",
         {},
         false,
         false,
         true,
         {{"-a", "-a:C:\\ZUMA\\Anh\xe4nge\\fehlt.pdf"}},
         1,
         "attachment",
         0,
         "C:\\ZUMA\\Anhänge\\fehlt.pdf",
         false},
        {"bad arguments", {}, false, false, true, {{"-to", std::nullopt}}, 2, "arguments", 0, "-to:", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(office_.native(resultRelative));
        writeSettings(c.trustTestCa);
        std::unique_ptr<MailServer> server;
        if (!c.noServer) server = std::make_unique<MailServer>(serverOptions(c.server, c.otherHost));
        const int port = server ? server->port() : closedPort();
        Pieces pieces = orderPieces(port);
        for (const auto& [option, value] : c.changes)
            pieces.set(option, value ? std::optional(QByteArray(*value).replace("PORT", QByteArray::number(port)))
                                     : std::nullopt);
        const Finished run = runCmail(pieces.list);
        expectSafeResult(run);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.errorOutput.toStdString();

        const QJsonObject r = result();
        EXPECT_EQ(r["step"].toString(), c.step);
        if (c.replyCode >= 0) {
            EXPECT_EQ(r["reply_code"].toInt(), c.replyCode);
        }
        EXPECT_TRUE(r["message"].toString().contains(QString::fromUtf8(c.says)))
            << r["message"].toString().toStdString();
        if (server) {
            EXPECT_EQ(server->messageCount(), 0);
            if (!c.authAllowed) {
                EXPECT_FALSE(sawCommand(*server, "AUTH"));
            }
            for (const ReceivedCommand& command : server->commands())
                EXPECT_TRUE(command.tls || command.command != "AUTH") << "AUTH in clear";
        }
    }
}

// The disk is full before the mail goes out: the server would accept it and the result
// could not be written, so the dispatcher, seeing no answer, sent it again in every run.
TEST_F(CmailProcess, WithoutRoomForItsResultItSendsNothingAndSaysSo) {
    MailServer server(serverOptions({}));
    const Finished run = runCmail(orderPieces(server.port()).list, rlim_t{100});
    EXPECT_EQ(run.exitCode, 1) << run.errorOutput.toStdString();
    EXPECT_TRUE(run.errorOutput.contains("nichts gesendet")) << run.errorOutput.toStdString();
    EXPECT_FALSE(run.errorOutput.contains(password));
    EXPECT_EQ(server.messageCount(), 0);
    EXPECT_TRUE(server.commands().empty()) << "cmail connected";
    EXPECT_EQ(QDir(office_.native("ZUMA/CMail/Ausgang")).entryList(QDir::Files), QStringList())
        << "no result and no temporary file";
}

// While cmail runs (here: waiting for a server that never greets), any local user can
// read its arguments; the password in them is masked.
TEST_F(CmailProcess, ThePasswordIsMaskedInTheProcessList) {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    QElapsedTimer clock;
    clock.start();
    const Started cmail = startCmail(orderPieces(ntohs(address.sin_port)).list);

    // Its connection comes long after the masking, which is the first thing it does.
    pollfd connection{listener, POLLIN, 0};
    ASSERT_EQ(poll(&connection, 1, 10000), 1) << "cmail did not connect";
    const int peer = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(cmail.pid));
    ASSERT_TRUE(cmdline.open(QIODevice::ReadOnly));
    const QByteArray shown = cmdline.readAll();
    kill(cmail.pid, SIGKILL);
    collect(cmail, clock);
    close(peer);
    close(listener);

    EXPECT_FALSE(shown.contains(password)) << shown.toStdString();
    EXPECT_TRUE(shown.contains("-host:buero@firma.test:" + QByteArray(password.size(), '*') + "@127.0.0.1:"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("-to:kunde@example.test")) << "the other arguments stay readable";
}

struct StallCase {
    const char* name;
    const char* option;
    const char* step;
    bool uncertain;
    const char* says;
};

void PrintTo(const StallCase& c, std::ostream* os) { *os << c.name; }

class CmailStall : public CmailProcess, public ::testing::WithParamInterface<StallCase> {};

// These take the network budget (10 s) each: the server never answers.
TEST_P(CmailStall, StillGetsAResultInTime) {
    const StallCase& c = GetParam();
    MailServer server(serverOptions({c.option}));
    const Finished run = runCmail(orderPieces(server.port()).list);
    expectSafeResult(run);
    EXPECT_EQ(run.exitCode, 1);
    const QJsonObject r = result();
    EXPECT_EQ(r["status"].toString(), "failure");
    EXPECT_EQ(r["step"].toString(), c.step);
    EXPECT_EQ(r["delivery_uncertain"].toBool(), c.uncertain);
    EXPECT_TRUE(r["message"].toString().contains(QString::fromUtf8(c.says))) << r["message"].toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Server, CmailStall,
    ::testing::Values(StallCase{"AfterEhlo", "--stall-after-ehlo", "STARTTLS", false, "Zeitbudget"},
                      StallCase{"AfterData", "--stall-after-data", "end of DATA", true, "ungewiss"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sendwerk::testing
