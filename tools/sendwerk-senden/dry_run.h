// sendwerk-senden --dry-run: what a send run would do with each order in the outbox,
// without doing it: the recipient checks (whitelist, the "Email" and "Notiz"
// placeholders looked up in the order table, addresses without "@") and the mail client
// call each recipient that passes would get, with the account's password masked.
// Starts no client, moves, logs and writes nothing (the order table is only read).
// Single-threaded; uses work area 1 for the lookups as the send run does.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace sendwerk {

struct QueueContext;
struct ConnectionData;

namespace senden {

QString dryRun(const QString& cDatver, QueueContext& context);

// The client call as a command line a person can read: every argument decoded from
// Windows-1252, quoted where a shell would need it, line breaks shown as \r and \n,
// and the password in "-host:" replaced by "***".
QString shownCall(const QString& program, const QList<QByteArray>& arguments, const ConnectionData& connection);

}  // namespace senden
}  // namespace sendwerk
