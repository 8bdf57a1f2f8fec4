#include "queue/filing.h"

#include <QStringList>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "queue/folders.h"
#include "queue/pane_text.h"
#include "queue/queue_context.h"
#include "queue/screen.h"
#include "queue/send_log.h"
#include "queue/shared.h"

namespace sendwerk {

namespace {

const QString kFailureHeading = QStringLiteral("Fehler im Failure-Ordner:");
const QString kQuarantineHeading = QStringLiteral("Fehler im Quarantine-Ordner:");

// The suffix an order gets in the outbox when it reached its end (mailed, refused or
// quarantined, and logged) but could not be filed: "*.ausg" no longer lists it, so it
// is neither sent nor logged again, and the closing report names it.
const QString kUnfiledSuffix = QStringLiteral(".ablagefehler");

// Copies and erases, never erasing a source whose copy failed; collects the causes.
class SafeMover {
public:
    explicit SafeMover(const FileSystem& files) : files_(files) {}

    bool copy(const QString& from, const QString& to) {
        const Result<> result = files_.copy(from, to);
        if (!result) faults_.append(result.cause());
        return result.ok();
    }
    void erase(const QString& path) {
        const Result<> result = files_.erase(path);
        if (!result) faults_.append(result.cause());
    }
    void move(const QString& from, const QString& to) {
        if (copy(from, to)) erase(from);
    }
    // A result file is there only when the client got to write one.
    void moveIfThere(const QString& from, const QString& to) {
        if (files_.fileExists(from)) move(from, to);
    }
    void note(const QString& fault) { faults_.append(fault); }
    // An order that should have left the outbox and is still there is renamed in it.
    void setAsideIfStillThere(const QString& cMailAusName) {
        if (!files_.fileExists(cMailAusName)) return;
        const Result<> renamed = files_.rename(cMailAusName, cMailAusName + kUnfiledSuffix, FileSystem::Replacing::No);
        faults_.append(renamed ? QStringLiteral("im Ausgang umbenannt in *%1").arg(kUnfiledSuffix) : renamed.cause());
    }
    void copyAttachment(const QByteArray& attachment, const QString& to) {
        const QString path = decode1252(attachment);
        if (path.isEmpty() || !files_.fileExists(path)) return;
        copy(path, to);
    }
    // The outbox mark's tail that tells the operator what went wrong; empty when all went well.
    QString faultMark() const {
        if (faults_.isEmpty()) return {};
        return QString::fromLatin1(kMarkFilingFault) + QStringLiteral(" (") + faults_.join(QStringLiteral("; ")) + ')';
    }

private:
    const FileSystem& files_;
    QStringList faults_;
};

void setOutbox(Shared& shared, const OrderNames& names, ListPosition position, const QString& mark) {
    const QString text = shared.screen.oMle1->data();
    shared.screen.oMle1->setData(position.isList() ? markListRecipient(text, names.F, position.n, mark)
                                                   : markFirst(text, names.F, mark));
}

}  // namespace

QString unfiledPattern(const QString& cDatver) {
    return folderPath(cDatver, Folder::Outbox) + QStringLiteral("*.ausg") + kUnfiledSuffix;
}

void fileOutcome(Shared& shared, QueueContext& context, FilingOutcome outcome, const OrderNames& names,
                 ListPosition position, const Recipient& recipient, const QByteArray& cMail_Anhang,
                 OrderFilingState& state, const QString& note) {
    if (context.recipientFiled) context.recipientFiled(names, position, outcome, recipient);
    const bool list = position.isList();
    const bool last = list && position.n == position.N;
    const QString listLine = names.F + '-' + QString::number(position.n);
    SafeMover mover(context.files);

    // The order file of a list recipient is copied, and leaves the outbox only with the
    // last one; a single recipient's order file is moved.
    const auto fileOrder = [&](const QString& to) {
        if (list) {
            if (!mover.copy(names.cMailAusName, to)) state.orderCopyFailed = true;
        } else {
            mover.move(names.cMailAusName, to);
        }
    };
    // The order leaves the outbox with its single recipient or the last one of its list;
    // if it cannot, it is set aside so that it is not sent again.
    const auto eraseOrderAfterLast = [&] {
        if (last && !state.orderCopyFailed) mover.erase(names.cMailAusName);
        if (!list || last) mover.setAsideIfStillThere(names.cMailAusName);
    };
    const auto outboxMark = [&](const QString& singleMark, const QString& listMark) {
        QString mark = (list ? listMark : singleMark) + (note.isEmpty() ? QString() : " (" + note + ')');
        if (last && state.orderCopyFailed && mover.faultMark().isEmpty()) mark += QString::fromLatin1(kMarkFilingFault);
        return mark + mover.faultMark();
    };
    // The record comes first, as soon as the outcome is known: the log is the office's
    // only history of what was sent to whom, and a crash while the files move must not
    // lose it.
    const auto logRecord = [&](char art, const QByteArray& adresse) {
        const Result<> logged =
            appendSendLog(context.areas, context.clock, names.cAuftrag, art, names.cMailFormular, adresse);
        if (!logged) mover.note(QStringLiteral("nicht protokolliert: ") + logged.cause());
    };

    // A failed or quarantined recipient lights its retry button and gets a line in its
    // folder's pane; the folder pane's new text is taken before the outbox pane is set,
    // and set after it.
    const auto showInFolder = [&](Button& retryButton, Pane& folderPane, const QString& heading,
                                  const QString& listLineEnd, const QString& singleMark, const QString& listMark) {
        retryButton.setColorBG(kFolderIndicator);
        const QString folderText = addFolderLine(folderPane.data(), heading,
                                                 list ? listLine + listLineEnd : names.F + QStringLiteral(" - FEHLER"));
        setOutbox(shared, names, position, outboxMark(singleMark, listMark));
        folderPane.setData(folderText);
    };

    switch (outcome) {
    case FilingOutcome::Quarantine: {
        logRecord('Q', recipient.written);
        fileOrder(names.cMailQuarantine);
        eraseOrderAfterLast();
        showInFolder(*shared.screen.oXbpBW2, *shared.screen.oMle3, kQuarantineHeading, QStringLiteral(" Adresse?"),
                     QStringLiteral(" - Adresse?"), QStringLiteral(" Adresse?"));
        if (!list) context.clock.pause(3);
        return;
    }
    case FilingOutcome::NoAddress:
        setOutbox(shared, names, position, list ? QStringLiteral(" @Fehler!") : QStringLiteral(" - @Fehler!"));
        return;
    case FilingOutcome::Failure: {
        logRecord('F', recipient.resolved);
        fileOrder(names.cMailFailName);
        mover.moveIfThere(names.cMailResName, names.cMailFailure);
        eraseOrderAfterLast();
        showInFolder(*shared.screen.oXbpBW1, *shared.screen.oMle2, kFailureHeading, QStringLiteral(" FEHLER"),
                     QStringLiteral(" - Fehler!"), QStringLiteral(" Fehler!"));
        return;
    }
    case FilingOutcome::Accepted:
        logRecord('M', recipient.resolved);
        fileOrder(names.cMailGesendet);
        mover.move(names.cMailResName, names.cMailResGesendet);
        mover.copyAttachment(cMail_Anhang, names.cMailAnhGesendet);
        eraseOrderAfterLast();
        setOutbox(shared, names, position, outboxMark(QStringLiteral(" - erledigt!"), QStringLiteral(" erledigt!")));
        return;
    case FilingOutcome::Neither: return;
    }
}

}  // namespace sendwerk
