#include "queue_listing.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "queue/folders.h"
#include "queue/order_file.h"

namespace sendwerk::senden {

namespace {

struct FolderView {
    Folder folder;
    const char* title;
};

constexpr FolderView kFolders[] = {
    {Folder::Outbox, "Ausgang"},
    {Folder::Failure, "Failure-Ordner"},
    {Folder::Quarantine, "Quarantine-Ordner"},
};

}  // namespace

QString ageText(qint64 seconds) {
    if (seconds < 60) return QStringLiteral("%1 s").arg(std::max<qint64>(seconds, 0));
    if (seconds < 3600) return QStringLiteral("%1 min").arg(seconds / 60);
    if (seconds < 2 * 86400) return QStringLiteral("%1 h").arg(seconds / 3600);
    return QStringLiteral("%1 Tage").arg(seconds / 86400);
}

QString orderRecipients(const QByteArray& orderText) {
    const MailOrder order = parseOrder(orderText);
    if (!order.isList()) return decode1252(order.recipientField);
    QStringList shown;
    for (const QByteArray& recipient : splitRecipients(order.recipientField)) shown << decode1252(recipient);
    return shown.join(QStringLiteral(", "));
}

QString queueListing(const QString& cDatver, const FileSystem& files, const QDateTime& now) {
    QString text;
    for (const FolderView& view : kFolders) {
        const QString folder = folderPath(cDatver, view.folder);
        const QStringList orders = files.list(orderPattern(cDatver, view.folder));
        text += QStringLiteral("%1 %2 (%3): %4 Aufträge\n")
                    .arg(QString::fromLatin1(view.title), folder, files.native(folder))
                    .arg(orders.size());
        qsizetype nameWidth = 0;
        for (const QString& name : orders) nameWidth = std::max(nameWidth, name.size());
        for (const QString& name : orders) {
            const QFileInfo info(files.native(folder + name));
            const Result<QByteArray> content = files.read(folder + name);
            const QString recipients =
                content.ok() ? orderRecipients(*content) : QStringLiteral("(nicht lesbar: %1)").arg(content.cause());
            text += QStringLiteral("  %1  %2  %3 B  %4\n")
                        .arg(name.leftJustified(nameWidth), ageText(info.lastModified().secsTo(now)).rightJustified(7),
                             QString::number(info.size()).rightJustified(6), recipients);
        }
    }
    return text;
}

}  // namespace sendwerk::senden
