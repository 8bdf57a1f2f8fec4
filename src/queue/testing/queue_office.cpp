#include "queue/testing/queue_office.h"

#include <QDir>

#include "dbf/ntx_builder.h"
#include "dbf/table.h"
#include "queue/send_log.h"

namespace sendwerk::testing {

QueueOffice::QueueOffice(bool withSendLog)
    : files(PathResolver(office.drives())),
      areas(PathResolver(office.drives())),
      client(clock, files),
      context{files,
              areas,
              clock,
              client,
              [this](const QString& text, const QString& title, int width, int height) {
                  dialogs.append({text, title, width, height});
              },
              QStringLiteral("C:\\ZUMA\\")} {
    for (const char* folder : {"ZUMA/CMail/Ausgang/failure", "ZUMA/CMail/Ausgang/quarantine"})
        office.makeFolder(QString::fromLatin1(folder));
    office.write(QStringLiteral("ZUMA/CMail/Verbindung.dat"), kConnection);
    shared.screen = screen.parts();
    if (withSendLog) {
        createSendLog(areas, shared.cDatver);
        openSendLogAlone(areas, shared.cDatver);
    }
}

void QueueOffice::writeOrder(const QString& name, const QByteArray& content) const {
    office.write(QStringLiteral("ZUMA/CMail/Ausgang/") + name, content);
}

void QueueOffice::writeWhitelist(const QByteArray& content) const {
    office.write(QStringLiteral("ZUMA/CMail/WhiteList.mad"), content);
}

void QueueOffice::writeOrderTable(const QList<OrderRow>& rows) const {
    const QString table = office.native(QStringLiteral("ZUMA/best"));
    dbf::Table::create(table, {{QStringLiteral("AUFTRNR"), 'N', 6, 0},
                               {QStringLiteral("ANSP_KTOI"), 'C', 60, 0},
                               {QStringLiteral("NOTIZ"), 'M', 10, 0}});
    std::unique_ptr<dbf::Table> best;
    best = std::move(dbf::Table::open(table, dbf::ShareMode::Exclusive).value());
    for (const OrderRow& row : rows) {
        best->appendBlank();
        best->putNumber(QStringLiteral("AUFTRNR"), row.auftrnr);
        best->put(QStringLiteral("ANSP_KTOI"), row.ansp_ktoi);
        best->putMemo(QStringLiteral("NOTIZ"), row.notiz);
    }
    best->commit();
    dbf::buildIndex(*best, office.native(QStringLiteral("ZUMA/xauftrnr.ntx")), QStringLiteral("AUFTRNR"));
}

QList<LogRecord> QueueOffice::readSendLog() const {
    std::unique_ptr<dbf::Table> log;
    log = std::move(
        dbf::Table::open(office.native(QStringLiteral("ZUMA/CMail/LOG_SENDWERK.DBF")), dbf::ShareMode::Shared).value());
    QList<LogRecord> records;
    for (log->goTop(); !log->eof(); log->skip()) {
        records.append({log->text(QStringLiteral("AUFTRNR")), log->text(QStringLiteral("ART")),
                        log->text(QStringLiteral("DATUM")), log->text(QStringLiteral("ZEIT")),
                        log->text(QStringLiteral("FORMULAR")), log->text(QStringLiteral("ADRESSE"))});
    }
    return records;
}

QStringList QueueOffice::filesIn(const QString& folder) const {
    QStringList names = QDir(office.native(QStringLiteral("ZUMA/CMail/") + folder)).entryList(QDir::Files, QDir::Name);
    return names;
}

}  // namespace sendwerk::testing
