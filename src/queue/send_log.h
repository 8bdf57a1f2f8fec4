// The send log: one record per recipient that reached an end state ("M" accepted,
// "F" refused, "Q" quarantined), in "CMAIL\LOG_SENDWERK.DBF" below the data root. The
// table is created once with exactly six character fields and stays open in work area
// 28 for the whole program run. An append writes the whole record before its count,
// is committed (on disk) before it returns and leaves the selected work area as it was;
// a lock of another program on the table is waited for at most 10 seconds. GUI thread
// only.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/result.h"

namespace sendwerk {

class Clock;
namespace dbf {
class WorkAreas;
struct FieldDef;
}  // namespace dbf

inline constexpr int kSendLogArea = 28;

QString sendLogTable(const QString& cDatver);  // without extension
QString sendLogFile(const QString& cDatver);   // with ".DBF"
QList<dbf::FieldDef> sendLogFields();

// Never replaces a send log that another copy created a moment before (that is a
// failure here, and the caller goes on with the table that is there).
Result<> createSendLog(dbf::WorkAreas& areas, const QString& cDatver);
// Opens the log in work area 28 only when no one else has it open: the single-instance
// test and the shared open in one step. Fails when another program has it open.
Result<> openSendLogAlone(dbf::WorkAreas& areas, const QString& cDatver);
// Why the open table in work area 28 is no send log (another table under its name):
// a German text that names the missing character fields; empty when it is one.
QString sendLogFieldFault(dbf::WorkAreas& areas, const QString& cDatver);

inline constexpr double kSendLogLockSeconds = 10;

// Values longer than their field are cut by the table engine; the texts are stored in
// Windows-1252. Fails (nothing written) when another program keeps the table locked.
Result<> appendSendLog(dbf::WorkAreas& areas, Clock& clock, const QString& auftrnr, char art, const QString& formular,
                       const QByteArray& adresse);

}  // namespace sendwerk
