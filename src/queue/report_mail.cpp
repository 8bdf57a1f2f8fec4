#include "queue/report_mail.h"

#include "platform/code_page.h"
#include "platform/office_text.h"
#include "queue/mail_client.h"
#include "queue/queue_context.h"

namespace sendwerk {

namespace {

void sendReport(const Shared& shared, QueueContext& context, const ConnectionData& connection, const char* subject,
                const QString& text) {
    ReportMail mail;
    mail.recipient = encode1252(context.errorReportAddress).bytes;
    mail.subject = subject;
    mail.body = encode1252(QStringLiteral("A C H T U N G :") + CRLF + text).bytes;
    mail.resultName = "Fehlermail.result";
    sendReportMail(shared, context, connection, mail);
}

}  // namespace

void sendSendwerkErrorReport(const Shared& shared, QueueContext& context, const ConnectionData& connection,
                             const QString& reportText) {
    sendReport(shared, context, connection, "F E H L E R - Meldung von Sendwerk",
               QStringLiteral("Beim Senden einer Mail sind folgende nicht automatisch korrigierbare Fehler passiert!") +
                   CRLF + reportText);
}

void sendMailClientErrorReport(const Shared& shared, QueueContext& context, const ConnectionData& connection,
                               const QString& problemText) {
    sendReport(shared, context, connection, "F E H L E R - Meldung von CMail", problemText);
}

}  // namespace sendwerk
