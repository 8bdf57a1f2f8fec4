// The listing texts of the main window: the outbox listing and the failure/quarantine
// listing, in the office's wording, CR LF line breaks. A missing folder lists as empty.
// Any caller on the GUI thread.
#pragma once

#include <QString>

namespace sendwerk {

class FileSystem;
class Clock;

QString MailAusgang(const QString& cDatver, const FileSystem& files, const Clock& clock);

// nFQ 0: failure folder; any other value: quarantine folder.
QString SendeFehler(const QString& cDatver, const FileSystem& files, int nFQ = 0);

}  // namespace sendwerk
