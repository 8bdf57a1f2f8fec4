#include "queue/send_log.h"

#include "dbf/work_areas.h"
#include "platform/clock.h"
#include "platform/code_page.h"

#include <QStringList>

namespace sendwerk {

QString sendLogTable(const QString& cDatver) { return cDatver + QStringLiteral("CMAIL\\LOG_SENDWERK"); }
QString sendLogFile(const QString& cDatver) { return sendLogTable(cDatver) + QStringLiteral(".DBF"); }

QList<dbf::FieldDef> sendLogFields() {
    return {{QStringLiteral("AUFTRNR"), 'C', 6, 0},   {QStringLiteral("ART"), 'C', 1, 0},
            {QStringLiteral("DATUM"), 'C', 10, 0},    {QStringLiteral("ZEIT"), 'C', 8, 0},
            {QStringLiteral("FORMULAR"), 'C', 50, 0}, {QStringLiteral("ADRESSE"), 'C', 50, 0}};
}

Result<> createSendLog(dbf::WorkAreas& areas, const QString& cDatver) {
    return areas.create(sendLogTable(cDatver), sendLogFields());
}

Result<> openSendLogAlone(dbf::WorkAreas& areas, const QString& cDatver) {
    const dbf::ScopedSelection selection(areas, kSendLogArea);
    return areas.useAlone(sendLogTable(cDatver));
}

QString sendLogFieldFault(dbf::WorkAreas& areas, const QString& cDatver) {
    const dbf::Table* log = areas.area(kSendLogArea);
    // Widths and further fields that the office may have given the table are kept; the
    // program only needs its six character fields.
    QStringList missing;
    for (const dbf::FieldDef& wanted : sendLogFields()) {
        const int i = log == nullptr ? -1 : log->fieldIndex(wanted.name);
        if (i < 0 || log->fields()[i].type != 'C') missing.append(wanted.name);
    }
    if (missing.isEmpty()) return {};
    return QStringLiteral("Die Tabelle %1 ist kein Sendeprotokoll: es fehlen die Textfelder %2.")
        .arg(sendLogFile(cDatver), missing.join(QStringLiteral(", ")));
}

Result<> appendSendLog(dbf::WorkAreas& areas, Clock& clock, const QString& auftrnr, char art, const QString& formular,
                       const QByteArray& adresse) {
    const dbf::ScopedSelection selection(areas, kSendLogArea);
    dbf::Table& log = areas.current();
    const Result<> appended = log.appendRecord({{QStringLiteral("AUFTRNR"), encode1252(auftrnr).bytes},
                                                {QStringLiteral("ART"), QByteArray(1, art)},
                                                {QStringLiteral("DATUM"), clock.dateText().toLatin1()},
                                                {QStringLiteral("ZEIT"), clock.timeText().toLatin1()},
                                                {QStringLiteral("FORMULAR"), encode1252(formular).bytes},
                                                {QStringLiteral("ADRESSE"), adresse}},
                                               dbf::LockWait{&clock, kSendLogLockSeconds});
    if (!appended) return appended;
    log.commit();
    // The browser of the same process must be able to lock the new record.
    log.unlockAll();
    return {};
}

}  // namespace sendwerk
