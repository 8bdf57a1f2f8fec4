// One SMTP session with the office's mail server, on vmime: connect, STARTTLS (required
// when the order says so, with the certificate checked by TrustCheck), AUTH through SASL,
// then our own MAIL FROM / RCPT TO with the DSN parameters vmime 0.9.2 cannot send
// (RET=HDRS, NOTIFY=...), only when the server advertises DSN, and DATA through vmime's
// dot-filtering stream. Every wait is bounded by the run's TimeBudget.
//
// Guarantees: send() never throws; it records every step, the server's last reply and
// the outcome in the Progress, so the result can be written at any moment. No command
// that carries the password goes out before TLS is up when TLS is required.
// Not thread-safe; one session per run.
#pragma once

#include "arguments.h"
#include "message_builder.h"
#include "progress.h"
#include "time_budget.h"

#include <vmime/net/smtp/SMTPConnection.hpp>
#include <vmime/net/transport.hpp>

#include <QString>

#include <memory>

namespace sendwerk::cmail {

class TrustCheck;

class SmtpSession {
public:
    SmtpSession(const MailRequest& request, const QString& caFile, TimeBudget budget, Progress& progress);
    ~SmtpSession();

    // Connects and hands over the message; the outcome is in the Progress.
    void send(const BuiltMessage& message);
    // Says goodbye (QUIT) if still connected; call after the result is safe.
    void close();

private:
    void connect();
    // Both return false after recording a refusal by the server.
    bool sendEnvelope();
    bool sendData(const BuiltMessage& message);
    void fail(const QString& message);
    vmime::shared_ptr<vmime::net::smtp::SMTPConnection> smtpConnection() const;
    bool expectReply(int lowest, int highest, const char* failedStep, const QString& why);

    const MailRequest& request_;
    TimeBudget budget_;
    Progress& progress_;
    std::shared_ptr<TrustCheck> trust_;
    vmime::shared_ptr<vmime::net::transport> transport_;
};

}  // namespace sendwerk::cmail
