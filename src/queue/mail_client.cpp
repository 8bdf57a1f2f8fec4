#include "queue/mail_client.h"

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/office_text.h"
#include "platform/process_starter.h"
#include "queue/queue_context.h"
#include "queue/screen.h"
#include "queue/shared.h"

namespace sendwerk {

namespace {

// How an option travels in the parameter string: bare, enclosed in quotes together with
// its option name, or with only its value enclosed.
enum class Quoting { None, Whole, ValueOnly };

struct Argument {
    QByteArray option;
    QByteArray value;
    Quoting quoting = Quoting::None;
};

QByteArray hostArgument(const ConnectionData& c) {
    return c.cSend_User + ':' + c.cSend_PW + '@' + c.cSend_Host + ':' + c.cSend_Port;
}

QList<Argument> orderPieces(const ConnectionData& c, const OrderMail& m) {
    return {{"-host:", hostArgument(c)},
            {"-starttls", {}},
            {"-to:", m.recipient},
            {"-from:", c.cSend_From},
            {"-reply-to:", c.cSend_Back},
            {"-subject:", m.subject, Quoting::Whole},
            {"-body:", m.body, Quoting::Whole},
            {"-a:", m.attachment},
            {"-dsn:SFD", {}},
            {"-mdn", {}},
            {"-results:", m.resultPath, Quoting::Whole}};
}

QList<Argument> reportPieces(const ConnectionData& c, const ReportMail& m) {
    return {{"-host:", hostArgument(c)},
            {"-starttls", {}},
            {"-to:", m.recipient},
            {"-from:", c.cSend_From},
            {"-reply-to:", c.cSend_From},
            {"-subject:", m.subject, Quoting::ValueOnly},
            {"-body:", m.body, Quoting::ValueOnly},
            {"-dsn:SFD", {}},
            {"-mdn", {}},
            {"-results:", m.resultName, Quoting::ValueOnly}};
}

QByteArray parameterString(const QList<Argument>& pieces) {
    QByteArray line;
    for (const Argument& a : pieces) {
        if (!line.isEmpty()) line += ' ';
        switch (a.quoting) {
        case Quoting::None: line += a.option + a.value; break;
        case Quoting::Whole: line += '"' + a.option + a.value + '"'; break;
        case Quoting::ValueOnly: line += a.option + '"' + a.value + '"'; break;
        }
    }
    return line;
}

QList<QByteArray> argumentVector(const QList<Argument>& pieces) {
    QList<QByteArray> arguments;
    for (const Argument& a : pieces) arguments.append(a.option + a.value);
    return arguments;
}

}  // namespace

QByteArray orderParameterString(const ConnectionData& connection, const OrderMail& mail) {
    return parameterString(orderPieces(connection, mail));
}
QList<QByteArray> orderArguments(const ConnectionData& connection, const OrderMail& mail) {
    return argumentVector(orderPieces(connection, mail));
}
QByteArray reportParameterString(const ConnectionData& connection, const ReportMail& mail) {
    return parameterString(reportPieces(connection, mail));
}
QList<QByteArray> reportArguments(const ConnectionData& connection, const ReportMail& mail) {
    return argumentVector(reportPieces(connection, mail));
}

MailOutcome judgeResultText(const QByteArray& text) {
    if (text.contains("\"status\": \"failure\"")) return MailOutcome::Failure;
    if (text.contains("\"status\": \"accepted\"")) return MailOutcome::Accepted;
    return MailOutcome::Neither;
}

QString mailProgram(const QString& cDatver) { return cDatver + QStringLiteral("CMail\\cmail.exe"); }

QString currentMailText(const QString& cMailAusName, const OrderMail& mail) {
    return QStringLiteral("Diese E-Mail wird jetzt gesendet:") + CRLF + cMailAusName + QStringLiteral(" : ") + CRLF +
           CRLF + QStringLiteral("Diese Mail geht an: ") + CRLF + decode1252(mail.recipient) + CRLF +
           QStringLiteral("Betreff: ") + CRLF + decode1252(mail.subject) + CRLF + QStringLiteral("Text: ") + CRLF +
           decode1252(mail.body) + CRLF + QStringLiteral("Anhang: ") + CRLF + decode1252(mail.attachment);
}

OrderMail orderMailFor(const QString& cMailResName, const MailOrder& order, const QByteArray& address) {
    return {address, order.cMail_Betr, order.cMail_Body, order.cMail_Anhang, encode1252(cMailResName).bytes};
}

MailOutcome sendOrderMail(Shared& shared, QueueContext& context, const ConnectionData& connection,
                          const QString& cMailAusName, const QString& cMailResName, const OrderMail& mail) {
    shared.screen.oMle30->setData(currentMailText(cMailAusName, mail));
    context.clock.pause(2);
    if (!context.starter.startDetached(mailProgram(shared.cDatver), orderArguments(connection, mail)))
        return MailOutcome::NotStarted;
    context.clock.pause(5);
    if (!context.files.fileExists(cMailResName)) context.clock.pause(10);
    const Result<QByteArray> result = context.files.read(cMailResName);
    if (!result) return MailOutcome::NoAnswer;
    return judgeResultText(*result);
}

void sendReportMail(const Shared& shared, QueueContext& context, const ConnectionData& connection,
                    const ReportMail& mail) {
    context.starter.startDetached(mailProgram(shared.cDatver), reportArguments(connection, mail));
}

}  // namespace sendwerk
