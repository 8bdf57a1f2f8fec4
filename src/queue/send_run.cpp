#include "queue/send_run.h"

#include <optional>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/office_text.h"
#include "queue/archive_folders.h"
#include "queue/filing.h"
#include "queue/folders.h"
#include "queue/leftovers.h"
#include "queue/listings.h"
#include "queue/mail_client.h"
#include "queue/order_file.h"
#include "queue/order_names.h"
#include "queue/pane_text.h"
#include "queue/queue_context.h"
#include "queue/recipient_check.h"
#include "queue/report_mail.h"
#include "queue/screen.h"
#include "queue/shared.h"
#include "queue/whitelist.h"

#include <map>

namespace sendwerk {

namespace {

enum class OrderEnd {
    Done,      // handled: the pending and current-mail panes are cleared
    Skipped,   // quarantined, no address or not usable: straight to the next order
    NoAnswer,  // the mail client did not answer: the run ends
    NoClient,  // the mail client could not be started: the run ends
};

// The end of the run an order's mail brings about, if any.
std::optional<OrderEnd> endingOutcome(MailOutcome outcome) {
    if (outcome == MailOutcome::NoAnswer) return OrderEnd::NoAnswer;
    if (outcome == MailOutcome::NotStarted) return OrderEnd::NoClient;
    return std::nullopt;
}

FilingOutcome filingOutcome(MailOutcome outcome) {
    switch (outcome) {
    case MailOutcome::Accepted: return FilingOutcome::Accepted;
    case MailOutcome::Failure:
    // An order whose client call cannot be made would stop every run at itself: it is
    // filed as a failure, with the cause, and the run goes on.
    case MailOutcome::CannotCall: return FilingOutcome::Failure;
    default: return FilingOutcome::Neither;
    }
}

FilingOutcome filingOutcome(Verdict verdict) {
    return verdict == Verdict::Quarantine ? FilingOutcome::Quarantine : FilingOutcome::NoAddress;
}

void markOutbox(Shared& shared, const QString& F, const char* mark) {
    shared.screen.oMle1->setData(markFirst(shared.screen.oMle1->data(), F, QString::fromLatin1(mark)));
}

// The office's programs write order files in place. An order is taken only when it has
// not changed since the listing, at least the settle time ago, and reads as long as it
// was then; otherwise it waits for the next run, so no half-written order goes out.
class SettleCheck {
public:
    SettleCheck(QueueContext& context, const QString& cDatver, const QStringList& workList)
        : context_(context), listedAt_(context.clock.now()) {
        for (const QString& F : workList)
            if (const auto stamp = context.files.stamp(folderPath(cDatver, Folder::Outbox) + F)) listed_[F] = *stamp;
    }

    bool unchangedSinceListing(const QString& F, const QString& cMailAusName) {
        const double waited = listedAt_.msecsTo(context_.clock.now()) / 1000.0;
        if (waited < context_.settleSeconds) context_.clock.pause(context_.settleSeconds - waited);
        const auto it = listed_.find(F);
        return it != listed_.end() && context_.files.stamp(cMailAusName) == it->second;
    }
    bool readAsListed(const QString& F, const QByteArray& text) const {
        const auto it = listed_.find(F);
        return it != listed_.end() && text.size() == it->second.size;
    }

private:
    QueueContext& context_;
    QDateTime listedAt_;
    std::map<QString, FileSystem::Stamp> listed_;
};

class OrderHandler {
public:
    OrderHandler(Shared& shared, QueueContext& context, const ConnectionData& connection, const Whitelist& whitelist,
                 SettleCheck& settle)
        : shared_(shared), context_(context), connection_(connection), whitelist_(whitelist), settle_(settle) {}

    OrderEnd handle(const QString& F) {
        const std::optional<OrderNames> names = deriveOrderNames(shared_.cDatver, F);
        if (!names) {
            markOutbox(shared_, F, kMarkUnusableName);
            return OrderEnd::Skipped;
        }
        if (!settle_.unchangedSinceListing(F, names->cMailAusName)) {
            markOutbox(shared_, F, kMarkStillWritten);
            return OrderEnd::Skipped;
        }
        const Result<QByteArray> read = context_.files.read(names->cMailAusName);
        if (!read) {
            markOutbox(shared_, F, kMarkUnreadable);
            return OrderEnd::Skipped;
        }
        const QByteArray& text = *read;
        if (!settle_.readAsListed(F, text)) {
            markOutbox(shared_, F, kMarkStillWritten);
            return OrderEnd::Skipped;
        }
        if (text.isEmpty()) {
            markOutbox(shared_, F, kMarkEmptyFile);
            return OrderEnd::Skipped;
        }
        createArchiveFolders(shared_.cDatver, names->cAuftrag, names->cMailForm, context_.files, context_.clock);
        const MailOrder order = parseOrder(text);
        return order.isList() ? handleList(*names, order) : handleSingle(*names, order);
    }

private:
    OrderEnd handleSingle(const OrderNames& names, const MailOrder& order) {
        OrderFilingState state;
        const RecipientResult check = checkRecipient(order.recipientField, names.cAuftrag, false, whitelist_,
                                                     context_.areas, context_.orderTableFolder);
        const Recipient recipient{order.recipientField, check.address};
        if (check.verdict != Verdict::Send) {
            fileOutcome(shared_, context_, filingOutcome(check.verdict), names, {}, recipient, order.cMail_Anhang,
                        state);
            return OrderEnd::Skipped;
        }
        const MailResult sent = send(names, order, check.address);
        if (const auto end = endingOutcome(sent.outcome)) return *end;
        fileOutcome(shared_, context_, filingOutcome(sent.outcome), names, {}, recipient, order.cMail_Anhang, state,
                    sent.cause);
        return OrderEnd::Done;
    }

    OrderEnd handleList(const OrderNames& names, const MailOrder& order) {
        OrderFilingState state;
        const QList<QByteArray> recipients = splitRecipients(order.recipientField);
        const int N = int(recipients.size());
        for (int n = 1; n <= N; ++n) {
            const OrderNames suffixed = withRecipientSuffix(names, n);
            const QByteArray& written = recipients[n - 1];
            const RecipientResult check =
                checkRecipient(written, names.cAuftrag, true, whitelist_, context_.areas, context_.orderTableFolder);
            const Recipient recipient{written, check.address};
            const ListPosition position{n, N};
            if (check.verdict != Verdict::Send) {
                fileOutcome(shared_, context_, filingOutcome(check.verdict), suffixed, position, recipient,
                            order.cMail_Anhang, state);
                continue;
            }
            const MailResult sent = send(names, order, check.address);
            if (const auto end = endingOutcome(sent.outcome)) return *end;
            fileOutcome(shared_, context_, filingOutcome(sent.outcome), suffixed, position, recipient,
                        order.cMail_Anhang, state, sent.cause);
        }
        return OrderEnd::Done;
    }

    MailResult send(const OrderNames& names, const MailOrder& order, const QByteArray& address) {
        return sendOrderMail(shared_, context_, connection_, names.cMailAusName, names.cMailResName,
                             orderMailFor(names.cMailResName, order, address));
    }

    Shared& shared_;
    QueueContext& context_;
    const ConnectionData& connection_;
    const Whitelist& whitelist_;
    SettleCheck& settle_;
};

QString pendingText(const QStringList& workList) {
    QString text = QStringLiteral("Noch zu versendende E-Mails:") + CRLF;
    for (const QString& name : workList) text += name + CRLF;
    return text;
}

void closingReport(Shared& shared, QueueContext& context, const ConnectionData& connection) {
    QString addition;
    if (!context.files.list(orderPattern(shared.cDatver, Folder::Failure)).isEmpty())
        addition += CRLF + CRLF + QStringLiteral("ABER:") + CRLF + QStringLiteral("Dateien im Failure-Ordner.") +
                    SendeFehler(shared.cDatver, context.files);
    if (!context.files.list(orderPattern(shared.cDatver, Folder::Quarantine)).isEmpty())
        addition += CRLF + CRLF + QStringLiteral("ABER:") + CRLF + QStringLiteral("Dateien im Quarantine-Ordner.") +
                    SendeFehler(shared.cDatver, context.files, 2);
    const QStringList unfiled = context.files.list(unfiledPattern(shared.cDatver));
    if (!unfiled.isEmpty()) {
        addition += CRLF + CRLF + QStringLiteral("ABER:") + CRLF +
                    QStringLiteral("Erledigt, aber nicht abgelegt (im Ausgang, werden nicht erneut gesendet):");
        for (const QString& name : unfiled) addition += CRLF + name;
    }
    const QString report = shared.screen.oMle1->data() + CRLF + CRLF + QStringLiteral("Abschluss-Meldung um ") +
                           context.clock.timeText() + QStringLiteral(" Uhr:") + CRLF +
                           QStringLiteral("alle Sendungen bearbeitet!") + addition;
    shared.screen.oMle1->setData(report);
    if (addition.isEmpty()) return;
    sendSendwerkErrorReport(shared, context, connection, report);
    context.clock.pause(5);
}

// A client that cannot even be started is named as such: "no answer from the mail
// server" would send the operator looking at the wrong machine.
QString problemText(const Shared& shared, QueueContext& context, RunEnd end) {
    if (end == RunEnd::NoClient) {
        const QString program = mailProgram(shared.cDatver);
        return CRLF + QStringLiteral("Ursache:") + CRLF + QStringLiteral("Das Mail-Programm ") + program +
               QStringLiteral(" fehlt oder lässt sich nicht starten (") + context.files.native(program) +
               QStringLiteral(").");
    }
    return CRLF + QStringLiteral("Vermutlich:") + CRLF + QStringLiteral("Keine Rückmeldung vom Mail-Server.");
}

void noAnswerReport(Shared& shared, QueueContext& context, const ConnectionData& connection, RunEnd end) {
    const QString problem = problemText(shared, context, end);
    sendMailClientErrorReport(shared, context, connection, problem);
    if (context.messageDialog)
        context.messageDialog(QStringLiteral("Probleme beim Senden!") + problem, QStringLiteral("Abschluss-Meldung:"),
                              500, 500);
}

QString incompleteConnectionText(int valueCount) {
    return CRLF + QStringLiteral("Verbindungsdaten unvollständig: ") + QString::number(valueCount) +
           QStringLiteral(" von 6 Werten in CMail\\Verbindung.dat.") + CRLF +
           QStringLiteral("Es wurde nichts gesendet.");
}

RunEnd workOutbox(Shared& shared, QueueContext& context) {
    const ConnectionRead connection = readConnectionData(shared.cDatver, context.files);
    if (!connection.data) {
        shared.screen.oMle1->setData(incompleteConnectionText(connection.valueCount));
        return RunEnd::NoConnectionData;
    }
    QStringList workList = context.files.list(orderPattern(shared.cDatver, Folder::Outbox));
    if (workList.isEmpty()) {
        shared.screen.oMle1->setData(CRLF + QStringLiteral("MailAusgang ist leer"));
        return RunEnd::EmptyOutbox;
    }
    const RunEnd end = Mails_Senden(shared, context, *connection.data, workList);
    if (end != RunEnd::Completed) {
        noAnswerReport(shared, context, *connection.data, end);
        return end;
    }
    closingReport(shared, context, *connection.data);
    return RunEnd::Completed;
}

RunEnd runOnce(Shared& shared, QueueContext& context) {
    context.leftoversRemoved += removeLeftovers(shared.cDatver, context.files);
    const RunEnd end = workOutbox(shared, context);
    if (!context.leftoversRemoved.isEmpty()) {
        shared.screen.oMle1->setData(shared.screen.oMle1->data() + leftoversNote(context.leftoversRemoved));
        context.leftoversRemoved.clear();
    }
    return end;
}

}  // namespace

RunEnd Mails_Senden(Shared& shared, QueueContext& context, const ConnectionData& aLines, QStringList& aDirAusgang) {
    const Whitelist whitelist = Whitelist::read(shared.cDatver, context.files);
    QString listing = MailAusgang(shared.cDatver, context.files, context.clock);
    // Every recipient then goes to quarantine, as the rules say; the pane says why.
    if (whitelist.missing())
        listing += QStringLiteral("ACHTUNG: ") + Whitelist::path(shared.cDatver) +
                   QStringLiteral(" fehlt, jeder Empfänger kommt in die Quarantäne!") + CRLF;
    shared.screen.oMle1->setData(listing);
    SettleCheck settle(context, shared.cDatver, aDirAusgang);
    OrderHandler handler(shared, context, aLines, whitelist, settle);
    while (!aDirAusgang.isEmpty()) {
        const QString F = aDirAusgang.first();
        shared.screen.oMle20->setData(pendingText(aDirAusgang));
        context.clock.pause(1);
        const OrderEnd end = handler.handle(F);
        if (end == OrderEnd::NoAnswer) return RunEnd::NoAnswer;
        if (end == OrderEnd::NoClient) return RunEnd::NoClient;
        if (end == OrderEnd::Done) {
            shared.screen.oMle20->setData(QString());
            shared.screen.oMle30->setData(QString());
            context.clock.pause(2.5);
        }
        aDirAusgang.removeFirst();
    }
    return RunEnd::Completed;
}

RunEnd Senden(Shared& shared, QueueContext& context) {
    if (shared.nAufSendung == 1) return RunEnd::Busy;
    shared.nAufSendung = 1;
    shared.screen.oXbpBS->setColorBG(kSendingColour);
    shared.screen.oXbpBH->setColorBG(kButtonDefaultColour);
    const auto finish = [&shared] {
        shared.nAufSendung = 0;
        shared.screen.oXbpBS->setColorBG(kSentColour);
    };
    RunEnd end;
    try {
        end = runOnce(shared, context);
    } catch (...) {
        // A runtime error (a missing order table, say) must not leave the guard set.
        finish();
        throw;
    }
    finish();
    return end;
}

}  // namespace sendwerk
