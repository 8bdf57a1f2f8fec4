// The send log: one record per recipient that reached an end state ("M" accepted,
// "F" refused, "Q" quarantined), in "CMAIL\LOG_SENDWERK.DBF" below the data root. The
// table is created once with exactly six character fields and stays open in work area
// 28 for the whole program run. An append is committed (on disk) before it returns and
// leaves the selected work area as it was. GUI thread only.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

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

void createSendLog(dbf::WorkAreas& areas, const QString& cDatver);
// False when someone holds the table exclusively.
bool openSendLog(dbf::WorkAreas& areas, const QString& cDatver);

// Values longer than their field are cut by the table engine; the texts are stored in
// Windows-1252.
void appendSendLog(dbf::WorkAreas& areas, const Clock& clock, const QString& auftrnr, char art,
                   const QString& formular, const QByteArray& adresse);

}  // namespace sendwerk
