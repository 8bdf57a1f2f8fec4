#include "queue/retry.h"

#include "platform/file_system.h"
#include "platform/office_text.h"
#include "queue/folders.h"
#include "queue/listings.h"
#include "queue/order_names.h"
#include "queue/queue_context.h"
#include "queue/screen.h"
#include "queue/shared.h"

namespace sendwerk {

namespace {

bool onlyBlanksAndLineBreaks(const QString& text) {
    for (const QChar c : text)
        if (c != ' ' && c != '\r' && c != '\n') return false;
    return true;
}

QString extendReport(const QString& report, const QString& heading, const QString& line) {
    if (report.contains(QStringLiteral("leer")) || onlyBlanksAndLineBreaks(report))
        return QStringLiteral("ACHTUNG") + CRLF + heading + CRLF + line;
    // The heading without its first word ("zurück") marks that it is already there.
    if (!report.contains(heading.mid(heading.indexOf(QStringLiteral("aus dem ")))))
        return report + CRLF + heading + CRLF + line;
    return report + CRLF + line;
}

}  // namespace

bool Wiederholen(Shared& shared, QueueContext& context, int nFQ) {
    const bool failure = errorFolder(nFQ) == Folder::Failure;
    const QString folder = folderPath(shared.cDatver, errorFolder(nFQ));
    const QString heading = failure ? QStringLiteral("zurück aus dem Failure-Ordner:")
                                    : QStringLiteral("zurück aus dem Quarantine-Ordner:");
    QString report = shared.screen.oMle1->data() + CRLF;
    bool allBack = true;
    for (const QString& G : context.files.list(folder + QStringLiteral("*.ausg"))) {
        const Result<> copied = context.files.copy(folder + G, folderPath(shared.cDatver, Folder::Outbox) + G);
        if (!copied) {
            // The order stays in its folder; the operator learns why.
            allBack = false;
            report =
                extendReport(report, heading, G + QStringLiteral(" - nicht zurückgeholt! (") + copied.cause() + ')');
            continue;
        }
        context.files.erase(folder + G);
        if (failure) context.files.erase(replaceFirstExtension(folder + G, QStringLiteral(".result")));
        report = extendReport(report, heading, G);
    }
    shared.screen.oMle1->setData(report);
    Pane* pane = failure ? shared.screen.oMle2 : shared.screen.oMle3;
    Button* button = failure ? shared.screen.oXbpBW1 : shared.screen.oXbpBW2;
    if (allBack) {
        pane->setData(CRLF + (failure ? QStringLiteral("Failure-Ordner ist geleert.")
                                      : QStringLiteral("Quarantine-Ordner ist geleert.")));
        button->setColorBG(kButtonDefaultColour);
    } else {
        pane->setData(SendeFehler(shared.cDatver, context.files, nFQ));
    }
    return true;
}

}  // namespace sendwerk
