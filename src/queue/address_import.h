// The import of new whitelist addresses from the address export of the office's main
// application, "CMail\NeueWMails.csv": comma-separated records, the first one a header;
// field 5 of every further record is an address. Each address becomes one line of the
// whitelist's layout: the address, ",", CR LF. Records with fewer than five fields are
// skipped; values are taken as the comma-separated reader delivers them, in the file's
// Windows-1252 bytes.
//
// The export is imported once: it is copied to "CMail\NeueWMails.old", and only after
// that copy is complete on disk (and one second later) is the export erased. A failed
// copy leaves the export in place, so its addresses are never lost.
// GUI thread or any single thread; no widgets.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/result.h"

namespace sendwerk {

class Clock;
class FileSystem;

// The import lines of an export file's content.
QByteArray newAddressLines(const QByteArray& exportText);

struct AddressImport {
    QByteArray cNeu;  // the import lines, to be appended to the whitelist
    // Empty when the export was set aside as "NeueWMails.old" and erased; otherwise the
    // German cause why it is still in place (it will be imported again next time).
    QString exportKept;
};

// Fails with the office's own message when there is no export file, or with the cause
// when it cannot be read; nothing is changed then.
Result<AddressImport> importNewAddresses(const QString& cDatver, const FileSystem& files, Clock& clock);

}  // namespace sendwerk
