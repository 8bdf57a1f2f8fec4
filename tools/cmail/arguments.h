// The command line of the mail client: one argument per piece of the dispatcher's
// parameter string ("-host:USER:PW@HOST:PORT", "-to:R", "-subject:Betreff mit Blanks" ...).
// Every argument arrives as Windows-1252 bytes and is decoded here, paths included.
//
// Guarantees: parseArguments() never throws; it returns what it could read plus a list
// of German error texts, so the caller can still write a result file when "-results:"
// was readable. Values that would let an argument inject SMTP commands (a CR or LF in
// an address) are refused.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace sendwerk::cmail {

struct ServerAccount {
    QString user;
    QString password;
    QString host;
    int port = 587;

    bool wantsAuth() const { return !user.isEmpty(); }
    QString address() const { return host + ':' + QString::number(port); }
};

// Which delivery status notifications to ask for ("-dsn:SFD").
struct DsnRequest {
    bool success = false;
    bool failure = false;
    bool delay = false;

    bool any() const { return success || failure || delay; }
    // The NOTIFY value of RFC 3461, e.g. "SUCCESS,FAILURE,DELAY".
    QString notifyValue() const;
};

struct MailRequest {
    ServerAccount account;
    bool requireTls = false;
    QString to;
    QString from;
    QString replyTo;
    QString subject;
    QString body;
    QString attachment;  // DOS path; empty means no attachment
    DsnRequest dsn;
    bool mdn = false;
    QString results;  // DOS path of the result file; empty when not given
};

struct ParsedArguments {
    MailRequest request;
    QStringList errors;  // German, one per problem; empty when the request is usable

    bool ok() const { return errors.isEmpty(); }
};

// `arguments` excludes the program name.
ParsedArguments parseArguments(const std::vector<QByteArray>& arguments);

// "USER:PASSWORD@HOST:PORT": the user ends at the first ':', host and port follow the
// last '@', so the password may hold both. Returns an error text, empty on success.
QString parseAccount(const QString& text, ServerAccount& into);

// Where the password lies in one raw argument, by the rule of parseAccount(): `length`
// bytes from `start`, none when the argument is no "-host:" or holds no password. Lets
// main() overwrite it in the process's own argument memory.
struct ByteSpan {
    qsizetype start = 0;
    qsizetype length = 0;
};
ByteSpan passwordSpan(const QByteArray& argument);

}  // namespace sendwerk::cmail
