// What cmail tells the dispatcher about one send: the content of the result file.
// The dispatcher only looks for `"status": "accepted"` or `"status": "failure"`
// (exactly one blank after the colon); the rest is for the operator reading the file.
//
// Guarantees: toJson() gives UTF-8 JSON with the status on a line of its own, in that
// exact spelling, and never contains the `secret` (the account password) where it
// stands on its own in a server text: there it is masked as "***". Inside a longer word
// it stays, so a short password does not garble the message.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <string>

namespace sendwerk::cmail {

// The step of the send where a failure happened, as the result file names it.
namespace step {
inline constexpr const char* arguments = "arguments";
inline constexpr const char* attachment = "attachment";
inline constexpr const char* connect = "connect";
inline constexpr const char* greeting = "greeting";
inline constexpr const char* ehlo = "EHLO";
inline constexpr const char* starttls = "STARTTLS";
inline constexpr const char* auth = "AUTH";
inline constexpr const char* mail = "MAIL";
inline constexpr const char* rcpt = "RCPT";
inline constexpr const char* data = "DATA";
inline constexpr const char* dataEnd = "end of DATA";
inline constexpr const char* quit = "QUIT";
}  // namespace step

struct SendReport {
    bool accepted = false;
    QString message;    // one German sentence for the operator
    QString step;       // where it failed (see `step`); the last step when accepted
    int replyCode = 0;  // the server's last reply, 0 when none came
    QString replyText;
    QString recipient;
    QString server;             // host:port
    bool tls = false;           // the session ran encrypted
    bool dsnAsked = false;      // the order asked for delivery status notifications
    bool dsnRequested = false;  // ... and they went out with MAIL/RCPT
    QString dsnNote;            // why not, when asked but not requested
    bool mdnRequested = false;
    bool deliveryUncertain = false;  // gave up waiting for the reply to the end of DATA
    std::string messageId;
    QDateTime timestamp;
};

QByteArray toJson(const SendReport& report, const QString& secret);

// One line for stderr, without anything secret.
QString summaryLine(const SendReport& report, const QString& secret);

}  // namespace sendwerk::cmail
