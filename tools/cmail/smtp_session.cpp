#include "smtp_session.h"

#include "trust_check.h"

#include <vmime/net/smtp/smtp.hpp>
#include <vmime/vmime.hpp>

namespace sendwerk::cmail {

namespace {

using vmime::net::smtp::SMTPCommand;

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

// The bare address for the envelope ("Firma <a@b.de>" gives "a@b.de").
std::string envelopeAddress(const QString& address) { return utf8(splitAddress(address).email); }

// Follows the dialog as vmime conducts it: the step is the last command sent, the
// reply the last line received. SASL exchange lines are masked by vmime and ignored.
class StepTracer : public vmime::net::tracer {
public:
    explicit StepTracer(Progress& progress) : progress_(progress) {}

    void traceSend(const vmime::string& line) override {
        static const struct {
            const char* verb;
            const char* step;
        } verbs[] = {
            {"EHLO", step::ehlo}, {"HELO", step::ehlo}, {"STARTTLS", step::starttls}, {"AUTH", step::auth},
            {"MAIL", step::mail}, {"RCPT", step::rcpt}, {"DATA", step::data},         {"QUIT", step::quit},
        };
        const QString verb = QString::fromStdString(line).section(' ', 0, 0).toUpper();
        for (const auto& entry : verbs) {
            if (verb == QLatin1String(entry.verb)) {
                progress_.update([&](SendReport& r) { r.step = QLatin1String(entry.step); });
                return;
            }
        }
    }

    void traceReceive(const vmime::string& line) override {
        const QString text = QString::fromUtf8(line.c_str(), qsizetype(line.size()));
        bool ok = false;
        const int code = text.left(3).toInt(&ok);
        if (!ok) return;
        progress_.update([&](SendReport& r) {
            r.replyCode = code;
            r.replyText = text.mid(4).trimmed();
            if (r.step == QLatin1String(step::connect)) r.step = QLatin1String(step::greeting);
        });
    }

private:
    Progress& progress_;
};

class StepTracers : public vmime::net::tracerFactory {
public:
    explicit StepTracers(Progress& progress) : progress_(progress) {}
    vmime::shared_ptr<vmime::net::tracer> create(vmime::shared_ptr<vmime::net::service>, const int) override {
        return vmime::make_shared<StepTracer>(progress_);
    }

private:
    Progress& progress_;
};

}  // namespace

SmtpSession::SmtpSession(const MailRequest& request, const QString& caFile, TimeBudget budget, Progress& progress)
    : request_(request), budget_(budget), progress_(progress), trust_(std::make_shared<TrustCheck>(caFile)) {}

SmtpSession::~SmtpSession() { close(); }

void SmtpSession::fail(const QString& message) {
    progress_.update([&](SendReport& r) {
        r.accepted = false;
        r.message = message;
    });
}

void SmtpSession::send(const BuiltMessage& message) {
    const QString server = request_.account.address();
    try {
        connect();
        if (sendEnvelope()) sendData(message);
    } catch (const vmime::exceptions::operation_timed_out&) {
        const SendReport now = progress_.snapshot();
        if (now.step == QLatin1String(step::dataEnd)) {
            progress_.update([](SendReport& r) { r.deliveryUncertain = true; });
            fail(
                QStringLiteral("Zustellung ungewiss: Die Daten sind gesendet, aber der Server hat innerhalb "
                               "des Zeitbudgets nicht geantwortet"));
        } else {
            fail(
                QStringLiteral("Zeitbudget überschritten: keine Antwort von %1 beim Schritt %2").arg(server, now.step));
        }
    } catch (const vmime::security::cert::certificateException&) {
        progress_.update([](SendReport& r) { r.step = QLatin1String(step::starttls); });
        fail(trust_->problem().isEmpty() ? QStringLiteral("Serverzertifikat abgelehnt") : trust_->problem());
    } catch (const vmime::exceptions::command_error& e) {
        if (e.command() == "STARTTLS")
            fail(QStringLiteral("Der Server %1 bietet kein STARTTLS an; ohne Verschlüsselung wird nicht gesendet")
                     .arg(server));
        else
            fail(QStringLiteral("Der Server hat %1 abgelehnt: %2")
                     .arg(QString::fromStdString(e.command()), QString::fromStdString(e.response()).trimmed()));
    } catch (const vmime::exceptions::authentication_error&) {
        progress_.update([](SendReport& r) { r.step = QLatin1String(step::auth); });
        fail(QStringLiteral("Anmeldung am Mail-Server fehlgeschlagen (Benutzer oder Passwort falsch?)"));
    } catch (const vmime::exceptions::tls_exception& e) {
        progress_.update([](SendReport& r) { r.step = QLatin1String(step::starttls); });
        fail(trust_->problem().isEmpty()
                 ? QStringLiteral("TLS-Aushandlung fehlgeschlagen: %1").arg(QString::fromUtf8(e.what()))
                 : trust_->problem());
    } catch (const vmime::exceptions::connection_error& e) {
        fail(QStringLiteral("Keine Verbindung zu %1: %2").arg(server, QString::fromUtf8(e.what())));
    } catch (const vmime::exception& e) {
        fail(QStringLiteral("Fehler beim Senden an %1: %2").arg(server, QString::fromUtf8(e.what())));
    } catch (const std::exception& e) {
        fail(QStringLiteral("Fehler beim Senden an %1: %2").arg(server, QString::fromUtf8(e.what())));
    }
}

void SmtpSession::connect() {
    const ServerAccount& account = request_.account;
    auto session = vmime::net::session::create();
    auto authenticator = vmime::make_shared<vmime::security::sasl::defaultSASLAuthenticator>();
    transport_ = session->getTransport(vmime::utility::url("smtp", utf8(account.host), account.port), authenticator);

    // Without -starttls TLS is still tried, but then not insisted on.
    transport_->setProperty("connection.tls", true);
    transport_->setProperty("connection.tls.required", request_.requireTls);
    transport_->setProperty("options.need-authentication", account.wantsAuth());
    transport_->setProperty("options.sasl", true);
    transport_->setProperty("options.sasl.fallback", false);
    transport_->setProperty("options.pipelining", false);
    transport_->setProperty("options.chunking", false);
    if (account.wantsAuth()) {
        transport_->setProperty("auth.username", utf8(account.user));
        transport_->setProperty("auth.password", utf8(account.password));
    }
    transport_->setCertificateVerifier(trust_);
    transport_->setTimeoutHandlerFactory(vmime::make_shared<BudgetTimeouts>(budget_));
    transport_->setTracerFactory(vmime::make_shared<StepTracers>(progress_));

    progress_.update([](SendReport& r) { r.step = QLatin1String(step::connect); });
    transport_->connect();

    const bool secured = transport_->isSecuredConnection();
    progress_.update([&](SendReport& r) { r.tls = secured; });
    if (request_.requireTls && !secured) throw vmime::exceptions::command_error("STARTTLS", "");
}

vmime::shared_ptr<vmime::net::smtp::SMTPConnection> SmtpSession::smtpConnection() const {
    return vmime::dynamicCast<vmime::net::smtp::SMTPTransport>(transport_)->getConnection();
}

bool SmtpSession::expectReply(int lowest, int highest, const char* failedStep, const QString& why) {
    auto connection = smtpConnection();
    const auto reply = connection->readResponse();
    const int code = reply->getCode();
    if (code >= lowest && code <= highest) return true;
    progress_.update([&](SendReport& r) { r.step = QLatin1String(failedStep); });
    fail(why + QStringLiteral(": ") + QString::number(code) + ' ' +
         QString::fromUtf8(reply->getLastLine().getText().c_str()).trimmed());
    return false;
}

bool SmtpSession::sendEnvelope() {
    auto connection = smtpConnection();
    const bool dsnOffered = connection->hasExtension("DSN");
    const bool dsn = request_.dsn.any() && dsnOffered;
    progress_.update([&](SendReport& r) {
        r.dsnRequested = dsn;
        if (request_.dsn.any() && !dsnOffered)
            r.dsnNote = QStringLiteral("Der Server bietet kein DSN an; ohne Zustellbenachrichtigung gesendet");
    });

    std::string mail = "MAIL FROM:<" + envelopeAddress(request_.from) + '>';
    std::string rcpt = "RCPT TO:<" + envelopeAddress(request_.to) + '>';
    if (dsn) {
        mail += " RET=HDRS";
        rcpt += " NOTIFY=" + request_.dsn.notifyValue().toStdString();
    }
    connection->sendRequest(SMTPCommand::createCommand(mail));
    if (!expectReply(200, 299, step::mail, QStringLiteral("Absender abgelehnt"))) return false;
    connection->sendRequest(SMTPCommand::createCommand(rcpt));
    return expectReply(200, 299, step::rcpt, QStringLiteral("Empfänger %1 abgelehnt").arg(request_.to));
}

bool SmtpSession::sendData(const BuiltMessage& message) {
    auto connection = smtpConnection();
    connection->sendRequest(SMTPCommand::DATA());
    if (!expectReply(354, 354, step::data, QStringLiteral("Der Server nimmt keine Daten an"))) return false;

    // Stuffed into one buffer with the end marker, so the marker does not travel as a
    // small segment of its own that Nagle's algorithm holds back until the data is
    // acknowledged.
    std::string wire;
    wire.reserve(message.data.size() + message.data.size() / 64 + 8);
    {
        vmime::utility::outputStreamStringAdapter buffer(wire);
        vmime::utility::dotFilteredOutputStream dotted(buffer);
        dotted.write(message.data.data(), message.data.size());
        dotted.flush();
    }
    const bool endsWithLine = wire.size() >= 2 && wire.compare(wire.size() - 2, 2, "\r\n") == 0;
    wire += endsWithLine ? ".\r\n" : "\r\n.\r\n";
    connection->getSocket()->send(wire);
    progress_.update([](SendReport& r) { r.step = QLatin1String(step::dataEnd); });

    if (!expectReply(250, 250, step::dataEnd, QStringLiteral("Der Server hat die Mail nicht angenommen"))) return false;
    progress_.update([](SendReport& r) {
        r.accepted = true;
        r.message = QStringLiteral("Der Server hat die Mail angenommen");
    });
    return true;
}

void SmtpSession::close() {
    if (!transport_) return;
    try {
        if (transport_->isConnected()) transport_->disconnect();
    } catch (const vmime::exception&) {
        // The result is written already; a failing goodbye changes nothing.
    }
    transport_.reset();
}

}  // namespace sendwerk::cmail
