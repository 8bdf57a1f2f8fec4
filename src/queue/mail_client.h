// The hand-over of one mail to the external mail client ("CMail\cmail.exe" below the
// data root) and the judgement of its result file.
//
// The client gets an argument vector, never a shell line: each option one argument,
// without the enclosing quotes, so a subject with blanks stays one argument. The
// parameter string is kept beside it because the office's other tools and the
// operator's notes know the client's command line in that form. Subject, text and
// attachment path are the order file's bytes, unchanged (Windows-1252).
// The result file is looked for at 5 and at 15 seconds after the start, not later. A
// result file of an earlier attempt is moved aside to "….result.alt" before the client
// starts, so only the new client's result is ever judged.
// GUI thread (it pauses through the Clock).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "queue/connection_data.h"
#include "queue/order_file.h"

namespace sendwerk {

struct Shared;
struct QueueContext;

// NotStarted: the client program is missing or cannot be run, so no answer can come
// (the run ends). CannotCall: this order's call cannot be made (a piece the client
// cannot take, an earlier result that cannot be moved aside); nothing was sent, and the
// order is filed as a failure.
enum class MailOutcome { Accepted, Failure, Neither, NoAnswer, NotStarted, CannotCall };

struct MailResult {
    MailOutcome outcome = MailOutcome::NoAnswer;
    QString cause{};  // why the call could not be made; empty otherwise
};

struct OrderMail {
    QByteArray recipient;
    QByteArray subject;
    QByteArray body;
    QByteArray attachment;
    QByteArray resultPath;  // DOS path, Windows-1252
};

struct ReportMail {
    QByteArray recipient;
    QByteArray subject;
    QByteArray body;
    QByteArray resultName;
};

QByteArray orderParameterString(const ConnectionData& connection, const OrderMail& mail);
QList<QByteArray> orderArguments(const ConnectionData& connection, const OrderMail& mail);
QByteArray reportParameterString(const ConnectionData& connection, const ReportMail& mail);
QList<QByteArray> reportArguments(const ConnectionData& connection, const ReportMail& mail);

// Failure is tested first, so a file with both markers counts as failure.
MailOutcome judgeResultText(const QByteArray& text);

QString mailProgram(const QString& cDatver);

// The text of the current-mail pane while the mail is sent (order texts decoded from
// Windows-1252 for display).
QString currentMailText(const QString& cMailAusName, const OrderMail& mail);

// The mail of one order recipient: the order's texts for `address`, the result file at
// the order's result path.
OrderMail orderMailFor(const QString& cMailResName, const MailOrder& order, const QByteArray& address);

// Shows the mail, starts the client and judges its result file. A client that cannot
// be started, or a call that cannot be made, is not waited for.
MailResult sendOrderMail(Shared& shared, QueueContext& context, const ConnectionData& connection,
                         const QString& cMailAusName, const QString& cMailResName, const OrderMail& mail);

// Starts the client for a report mail; its result is not read.
void sendReportMail(const Shared& shared, QueueContext& context, const ConnectionData& connection,
                    const ReportMail& mail);

}  // namespace sendwerk
