#include "queue/listings.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/office_text.h"
#include "queue/folders.h"

namespace sendwerk {

QString MailAusgang(const QString& cDatver, const FileSystem& files, const Clock& clock) {
    const QStringList entries = files.list(orderPattern(cDatver, Folder::Outbox));
    QString text;
    if (entries.isEmpty()) {
        text = CRLF + QStringLiteral("MailAusgang ist leer.");
    } else {
        text = CRLF + QStringLiteral("MailAusgang") + CRLF + QStringLiteral("Diese Mails sind zu versenden um ") +
               clock.timeText() + QStringLiteral(" Uhr:");
        for (const QString& name : entries) text += CRLF + name;
    }
    return text + CRLF;
}

QString SendeFehler(const QString& cDatver, const FileSystem& files, int nFQ) {
    const bool failure = errorFolder(nFQ) == Folder::Failure;
    const QStringList entries = files.list(orderPattern(cDatver, errorFolder(nFQ)));
    if (entries.isEmpty())
        return CRLF +
               (failure ? QStringLiteral("Failure-Ordner ist leer.") : QStringLiteral("Quarantine-Ordner ist leer."));
    QString text =
        CRLF + QStringLiteral("ACHTUNG:") + CRLF +
        (failure ? QStringLiteral("Fehler im Failure-Ordner:") : QStringLiteral("Fehler im Quarantine-Ordner:"));
    const QString mark = failure ? QStringLiteral(" - Fehler") : QStringLiteral(" - Adresse?");
    for (const QString& name : entries) text += CRLF + name + mark;
    return text;
}

}  // namespace sendwerk
