#include "queue/address_import.h"

#include "dbf/delimited_reader.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace sendwerk {
namespace {

const QString kExport = QStringLiteral("CMail\\NeueWMails.csv");
const QString kExportCopy = QStringLiteral("CMail\\NeueWMails.old");

}  // namespace

QByteArray newAddressLines(const QByteArray& exportText) {
    dbf::DelimitedReader reader(exportText);
    reader.next();  // the header
    QByteArray lines;
    while (!reader.atEnd()) {
        const QList<QByteArray> fields = reader.next();
        if (fields.size() < 5) continue;
        lines += fields.at(4) + ",\r\n";
    }
    return lines;
}

Result<AddressImport> importNewAddresses(const QString& cDatver, const FileSystem& files, Clock& clock) {
    const QString exportPath = cDatver + kExport;
    if (!files.fileExists(exportPath))
        return Failure{
            QStringLiteral("Stellen Sie zunächst die MailExportdatei CMail\\NeueWMails.csv bereit!\r\n"
                           "Starten Sie dann neu.")};
    const Result<QByteArray> content = files.read(exportPath);
    if (!content.ok())
        return Failure{QStringLiteral("Die MailExportdatei CMail\\NeueWMails.csv kann nicht gelesen werden: ") +
                       content.cause()};

    AddressImport out{newAddressLines(*content), {}};
    if (const Result<> copied = files.copy(exportPath, cDatver + kExportCopy); !copied.ok()) {
        out.exportKept = QStringLiteral("Die Kopie CMail\\NeueWMails.old konnte nicht geschrieben werden: ") +
                         copied.cause() +
                         QStringLiteral("\r\nDie MailExportdatei CMail\\NeueWMails.csv bleibt erhalten.");
        return out;
    }
    clock.pause(1);
    if (const Result<> erased = files.erase(exportPath); !erased.ok())
        out.exportKept =
            QStringLiteral("Die MailExportdatei CMail\\NeueWMails.csv konnte nicht gelöscht werden: ") + erased.cause();
    return out;
}

}  // namespace sendwerk
