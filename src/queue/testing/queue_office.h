// For the queue's tests and benchmarks only: a complete little office around the
// queue engine. A temporary folder is drive C: with the data root "C:\ZUMA\" and its
// queue folders, the connection data and the send log open in work area 28; the clock
// is virtual and the mail client is the in-process fake. Panes and buttons are the
// in-memory ones, attached to `shared`; message dialogs are recorded.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "dbf/work_areas.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "queue/queue_context.h"
#include "queue/screen.h"
#include "queue/shared.h"
#include "queue/testing/fake_mail_client.h"
#include "support/temp_office.h"

namespace sendwerk::testing {

inline const QByteArray kConnection =
    "smtp.example.org\r\nbuero\r\ngeheim\r\n587\r\nbuero@example.org\r\nantwort@example.org\r\n";

struct OrderRow {
    int auftrnr = 0;
    QByteArray ansp_ktoi;
    QByteArray notiz;
};

struct LogRecord {
    QByteArray auftrnr, art, datum, zeit, formular, adresse;  // trailing blanks removed
};

struct ShownDialog {
    QString text, title;
    int width = 0, height = 0;
};

class QueueOffice {
public:
    // `withSendLog`: create the send log and open it in work area 28 (as start-up does).
    explicit QueueOffice(bool withSendLog = true);

    // Relative to the temporary root: the data root is "ZUMA/".
    void writeOrder(const QString& name, const QByteArray& content) const;
    void writeWhitelist(const QByteArray& content) const;
    // The order table `best` with a numeric AUFTRNR, the contact address and the note,
    // and the index `xauftrnr` on AUFTRNR, in "C:\ZUMA\".
    void writeOrderTable(const QList<OrderRow>& rows) const;
    QList<LogRecord> readSendLog() const;
    // File names in a folder below "ZUMA/CMail/", sorted.
    QStringList filesIn(const QString& folder) const;

    TempOffice office;
    FileSystem files;
    dbf::WorkAreas areas;
    VirtualClock clock;
    FakeMailClient client;
    MemoryScreen screen;
    Shared shared;
    QList<ShownDialog> dialogs;
    QueueContext context;
};

}  // namespace sendwerk::testing
