#include "dry_run.h"

#include <QRegularExpression>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "queue/connection_data.h"
#include "queue/folders.h"
#include "queue/mail_client.h"
#include "queue/order_file.h"
#include "queue/order_names.h"
#include "queue/queue_context.h"
#include "queue/recipient_check.h"
#include "queue/whitelist.h"

namespace sendwerk::senden {

namespace {

QString shellQuoted(QString argument) {
    argument.replace(QLatin1Char('\r'), QStringLiteral("\\r")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9@%+=:,./_\\\\-]+$"));
    if (plain.match(argument).hasMatch()) return argument;
    return QLatin1Char('\'') + argument.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
}

QString verdictText(const RecipientResult& check, const QByteArray& written) {
    const QString resolved = check.address != written ? QStringLiteral(" → ") + decode1252(check.address) : QString();
    switch (check.verdict) {
    case Verdict::Send: return resolved + QStringLiteral(": wird gesendet");
    case Verdict::Quarantine: return QStringLiteral(": Quarantäne (nicht auf der Whitelist)");
    case Verdict::NoAddress: return resolved + QStringLiteral(": ohne Adresse (kein \"@\"), bleibt im Ausgang");
    }
    return {};
}

class DryRun {
public:
    DryRun(const QString& cDatver, QueueContext& context)
        : cDatver_(cDatver),
          context_(context),
          whitelist_(Whitelist::read(cDatver, context.files)),
          connection_(readConnectionData(cDatver, context.files)) {}

    QString run() {
        const QStringList orders = context_.files.list(orderPattern(cDatver_, Folder::Outbox));
        QString text = QStringLiteral(
                           "Probelauf: %1 Aufträge im Ausgang; es wird nichts gesendet, verschoben oder "
                           "geschrieben.\n")
                           .arg(orders.size());
        if (whitelist_.missing())
            text += QStringLiteral("ACHTUNG: %1 fehlt, jeder Empfänger käme in die Quarantäne.\n")
                        .arg(Whitelist::path(cDatver_));
        if (!connection_.data)
            text += QStringLiteral(
                        "ACHTUNG: Verbindungsdaten unvollständig (%1 von 6 Werten in CMail\\Verbindung.dat): "
                        "eine Sende-Runde sendete nichts.\n")
                        .arg(connection_.valueCount);
        for (const QString& F : orders) text += order(F);
        return text;
    }

private:
    QString order(const QString& F) {
        QString text = F + QLatin1Char('\n');
        const std::optional<OrderNames> names = deriveOrderNames(cDatver_, F);
        if (!names) return text + QStringLiteral("  Dateiname unbrauchbar, bleibt im Ausgang\n");
        const Result<QByteArray> content = context_.files.read(names->cMailAusName);
        if (!content) return text + QStringLiteral("  nicht lesbar (%1), bleibt im Ausgang\n").arg(content.cause());
        if (content->isEmpty()) return text + QStringLiteral("  Datei ohne Inhalt, bleibt im Ausgang\n");
        const MailOrder mail = parseOrder(*content);
        const QList<QByteArray> recipients =
            mail.isList() ? splitRecipients(mail.recipientField) : QList<QByteArray>{mail.recipientField};
        for (const QByteArray& written : recipients) {
            const RecipientResult check = checkRecipient(written, names->cAuftrag, mail.isList(), whitelist_,
                                                         context_.areas, context_.orderTableFolder);
            text += QStringLiteral("  ") + decode1252(written) + verdictText(check, written) + QLatin1Char('\n');
            if (check.verdict == Verdict::Send && connection_.data)
                text +=
                    QStringLiteral("    ") +
                    shownCall(mailProgram(cDatver_),
                              orderArguments(*connection_.data, orderMailFor(names->cMailResName, mail, check.address)),
                              *connection_.data) +
                    QLatin1Char('\n');
        }
        return text;
    }

    const QString cDatver_;
    QueueContext& context_;
    const Whitelist whitelist_;
    const ConnectionRead connection_;
};

}  // namespace

QString shownCall(const QString& program, const QList<QByteArray>& arguments, const ConnectionData& connection) {
    const QByteArray account = "-host:" + connection.cSend_User + ':' + connection.cSend_PW + '@';
    QStringList shown{shellQuoted(program)};
    for (const QByteArray& argument : arguments) {
        QByteArray masked = argument;
        if (!connection.cSend_PW.isEmpty() && argument.startsWith(account))
            masked = "-host:" + connection.cSend_User + ":***@" + argument.mid(account.size());
        shown << shellQuoted(decode1252(masked));
    }
    return shown.join(QLatin1Char(' '));
}

QString dryRun(const QString& cDatver, QueueContext& context) { return DryRun(cDatver, context).run(); }

}  // namespace sendwerk::senden
