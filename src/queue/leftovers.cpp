#include "queue/leftovers.h"

#include "platform/file_system.h"
#include "platform/office_text.h"
#include "platform/temporary_files.h"
#include "queue/folders.h"

namespace sendwerk {

namespace {

void removeIn(const QString& folder, const FileSystem& files, QStringList& removed) {
    for (const QString& name : files.list(folder + QStringLiteral("*"))) {
        if (!isTemporarySibling(name)) continue;
        if (files.erase(folder + name)) removed.append(folder + name);
    }
}

}  // namespace

QStringList removeLeftovers(const QString& cDatver, const FileSystem& files) {
    QStringList folders = {cDatver + QStringLiteral("CMail\\"), folderPath(cDatver, Folder::Outbox),
                           folderPath(cDatver, Folder::Failure), folderPath(cDatver, Folder::Quarantine)};
    // The archive: order number, then form name.
    const QString archive = archiveRoot(cDatver);
    for (const QString& number : files.subfolders(archive))
        for (const QString& form : files.subfolders(archive + number + '\\'))
            folders.append(archive + number + '\\' + form + '\\');
    QStringList removed;
    for (const QString& folder : folders) removeIn(folder, files, removed);
    return removed;
}

QString leftoversNote(const QStringList& removed) {
    if (removed.isEmpty()) return {};
    QString note = CRLF + CRLF + QStringLiteral("Reste abgebrochener Schreibvorgänge entfernt:");
    for (const QString& path : removed) note += CRLF + path;
    return note;
}

}  // namespace sendwerk
