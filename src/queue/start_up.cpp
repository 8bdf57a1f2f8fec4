#include "queue/start_up.h"

#include <QFileInfo>

#include "dbf/work_areas.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/office_text.h"
#include "queue/queue_context.h"
#include "queue/send_log.h"
#include "queue/shared.h"

namespace sendwerk {

namespace {

void readSettings(Shared& shared, const dbf::Table& settings) {
    shared.cDatver = settings.hasField(QStringLiteral("datver"))
                         ? withoutTrailingBlanks(decode1252(settings.text(QStringLiteral("datver"))))
                         : withoutTrailingBlanks(shared.cDatver);
    const QByteArray f10 = settings.hasField(QStringLiteral("f10")) ? settings.text(QStringLiteral("f10")) : QByteArray();
    shared.cLPT = f10.startsWith("LPT") ? withoutTrailingBlanks(decode1252(f10)) : QStringLiteral("LPT1");
}

// The office's message knows no folders; an administrator needs the one looked at.
QString whereServerWasSought(const FileSystem& files, const QString& serverCopy) {
    const QString native = files.native(serverCopy);
    if (native.isEmpty())
        return QStringLiteral("(Laufwerk %1 ist in der Einstellungsdatei nicht zugeordnet.)").arg(serverCopy.left(2));
    return QStringLiteral("(Gesucht: %1 im Ordner %2)").arg(QFileInfo(native).fileName(), QFileInfo(native).path());
}

}  // namespace

void readDataRoot(Shared& shared, QueueContext& context, const TableOpenDialogs& dialogs) {
    dbf::WorkAreas& areas = context.areas;
    areas.select(kSettingsTableArea);
    DBaufmachen(areas, QStringLiteral("mwstdat"), std::nullopt, QStringLiteral("S"), shared.cDatver, dialogs);
    readSettings(shared, areas.current());
    areas.close();
}

bool startUpChecks(Shared& shared, QueueContext& context, const StartUpDialogs& dialogs) {
    dbf::WorkAreas& areas = context.areas;
    readDataRoot(shared, context, dialogs.tableOpen);

    const QString serverCopy = shared.cObver + QStringLiteral("mwstdat.dbf");
    if (!context.files.fileExists(serverCopy)) {
        dialogs.message(QStringLiteral("Keine Verbindung zum ZentralServer!") + shared.CRLF +
                        QStringLiteral("Versuchen Sie es später nochmal!") + shared.CRLF +
                        whereServerWasSought(context.files, serverCopy));
        return false;
    }

    const QString logFile = sendLogFile(shared.cDatver);
    if (context.files.fileExists(logFile)) {
        if (!context.files.canOpenExclusively(logFile)) {
            dialogs.message(QStringLiteral("Sendwerk ist bereits geöffnet!") + shared.CRLF +
                            QStringLiteral("Bitte ggf. zuerst schließen!"));
            return false;
        }
    } else {
        createSendLog(areas, shared.cDatver);
    }

    areas.select(kSendLogArea);
    if (!openSendLog(areas, shared.cDatver)) {
        // Someone holds the log exclusively: as good as a second copy running.
        dialogs.message(QStringLiteral("Sendwerk ist bereits geöffnet!") + shared.CRLF +
                        QStringLiteral("Bitte ggf. zuerst schließen!"));
        return false;
    }
    return true;
}

}  // namespace sendwerk
