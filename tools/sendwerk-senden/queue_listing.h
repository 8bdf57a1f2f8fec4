// sendwerk-senden --list: the outbox, failure and quarantine folders as an administrator
// reads a mail queue, one line per order with its name, age, size and recipients, and
// the count per folder. Reads only; sends, moves and writes nothing.
#pragma once

#include <QDateTime>
#include <QString>

namespace sendwerk {

class FileSystem;

namespace senden {

// The listing of the queue below the data root `cDatver`, ages counted up to `now`.
QString queueListing(const QString& cDatver, const FileSystem& files, const QDateTime& now);

// "47 s", "12 min", "3 h", "2 Tage".
QString ageText(qint64 seconds);

// The recipients of an order file as written ("{a,b}" lists joined by ", "), decoded.
QString orderRecipients(const QByteArray& orderText);

}  // namespace senden
}  // namespace sendwerk
