// The mail server account from "CMail\Verbindung.dat": six values, one per line, in
// the file's bytes (Windows-1252, handed to the mail client unchanged). Read afresh at
// every send run. A file with fewer than six values gives no connection data, so a run
// never starts with missing values; surplus lines are ignored.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace sendwerk {

class FileSystem;

struct ConnectionData {
    QByteArray cSend_Host;
    QByteArray cSend_User;
    QByteArray cSend_PW;
    QByteArray cSend_Port;
    QByteArray cSend_From;
    QByteArray cSend_Back;
};

struct ConnectionRead {
    std::optional<ConnectionData> data;  // empty when fewer than six values were found
    int valueCount = 0;                  // lines found in the file
};

// Before every LF that is not the first character and does not follow a CR, a CR is
// inserted. Also used for the whitelist.
QByteArray normaliseLineBreaks(const QByteArray& text);

// The file's text split into lines of at most 80 characters (a longer line wraps and
// continues as the next line), each without its trailing blanks.
ConnectionRead parseConnectionData(const QByteArray& fileText);

ConnectionRead readConnectionData(const QString& cDatver, const FileSystem& files);

// The whole text with normalised line breaks, for editing.
QByteArray connectionTextForEditing(const QString& cDatver, const FileSystem& files);

}  // namespace sendwerk
