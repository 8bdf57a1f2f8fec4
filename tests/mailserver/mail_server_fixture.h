// The loopback SMTP server of the tests (tests/mailserver/smtp_server.py) as an object:
// the constructor starts it on 127.0.0.1 on a free port with the given options and
// waits (bounded) until it listens; the destructor stops it (SIGTERM, then SIGKILL).
// Every received message and its envelope land in spool(); commands() lists what the
// server saw, so a test can prove that a client sent no AUTH in clear.
//
// Options are those of smtp_server.py, e.g. {"--user", "u", "--password", "p",
// "--reject550", "x@y.test"}; TLS needs a certificate: makeCertificates() writes
// one with make_cert.sh, and tlsOptions() gives the matching --cert/--key pair.
// Throws std::runtime_error naming the cause when the server does not come up.
// For tests only; one object per server, used on one thread.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <vector>

namespace sendwerk::testing {

struct Certificates {
    QString folder;
    QString caFile() const { return folder + "/ca.pem"; }
    QString serverCert() const { return folder + "/server.pem"; }
    QString serverKey() const { return folder + "/server.key"; }
    QString otherCert() const { return folder + "/other.pem"; }
    QString otherKey() const { return folder + "/other.key"; }
};

// Runs make_cert.sh into `folder`; throws when openssl fails.
Certificates makeCertificates(const QString& folder);

// "--cert X --key Y" for the certificate issued for 127.0.0.1 (or for the other host).
QStringList tlsOptions(const Certificates& certificates, bool otherHost = false);

struct ReceivedCommand {
    QString command;  // "EHLO", "AUTH", ...
    bool tls = false;
};

class MailServer {
public:
    explicit MailServer(const QStringList& options = {});
    ~MailServer();

    MailServer(const MailServer&) = delete;
    MailServer& operator=(const MailServer&) = delete;

    int port() const { return port_; }
    QString spool() const { return spool_.path(); }

    // Number of messages saved so far.
    int messageCount() const;
    // Message n (1-based) as received, and its envelope (mail_from, mail_options,
    // rcpt_tos, recipients[{address, options}], tls, auth_login).
    QByteArray message(int n) const;
    QJsonObject envelope(int n) const;
    std::vector<ReceivedCommand> commands() const;
    // Message n as Python's e-mail package reads it (decode_mail.py): headers, body,
    // body_charset, body_encoding, attachments[{filename, content_type, encoding, data}].
    QJsonObject decoded(int n) const;

    // Waits (bounded) until `count` messages are saved; false at the deadline.
    bool waitForMessages(int count, std::chrono::milliseconds deadline = std::chrono::seconds(10));

private:
    QTemporaryDir spool_;
    QString readyFile_;
    QProcess process_;
    int port_ = 0;
};

}  // namespace sendwerk::testing
