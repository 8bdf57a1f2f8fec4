#include "queue/send_log.h"

#include "dbf/work_areas.h"
#include "platform/clock.h"
#include "platform/code_page.h"

namespace sendwerk {

QString sendLogTable(const QString& cDatver) { return cDatver + QStringLiteral("CMAIL\\LOG_SENDWERK"); }
QString sendLogFile(const QString& cDatver) { return sendLogTable(cDatver) + QStringLiteral(".DBF"); }

QList<dbf::FieldDef> sendLogFields() {
    return {{QStringLiteral("AUFTRNR"), 'C', 6, 0},  {QStringLiteral("ART"), 'C', 1, 0},
            {QStringLiteral("DATUM"), 'C', 10, 0},   {QStringLiteral("ZEIT"), 'C', 8, 0},
            {QStringLiteral("FORMULAR"), 'C', 50, 0}, {QStringLiteral("ADRESSE"), 'C', 50, 0}};
}

void createSendLog(dbf::WorkAreas& areas, const QString& cDatver) {
    areas.create(sendLogTable(cDatver), sendLogFields());
}

bool openSendLog(dbf::WorkAreas& areas, const QString& cDatver) {
    const dbf::ScopedSelection selection(areas, kSendLogArea);
    return areas.use(sendLogTable(cDatver), dbf::ShareMode::Shared).ok();
}

void appendSendLog(dbf::WorkAreas& areas, const Clock& clock, const QString& auftrnr, char art,
                   const QString& formular, const QByteArray& adresse) {
    const dbf::ScopedSelection selection(areas, kSendLogArea);
    dbf::Table& log = areas.current();
    log.appendBlank();
    log.put(QStringLiteral("AUFTRNR"), encode1252(auftrnr).bytes);
    log.put(QStringLiteral("ART"), QByteArray(1, art));
    log.put(QStringLiteral("DATUM"), clock.dateText().toLatin1().leftJustified(10, ' '));
    log.put(QStringLiteral("ZEIT"), clock.timeText().toLatin1());
    log.put(QStringLiteral("FORMULAR"), encode1252(formular).bytes);
    log.put(QStringLiteral("ADRESSE"), adresse);
    log.commit();
    // The browser of the same process must be able to lock the new record.
    log.unlockAll();
}

}  // namespace sendwerk
