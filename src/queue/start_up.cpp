#include "queue/start_up.h"

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

}  // namespace

bool startUpChecks(Shared& shared, QueueContext& context, const StartUpDialogs& dialogs) {
    dbf::WorkAreas& areas = context.areas;
    areas.select(kSettingsTableArea);
    DBaufmachen(areas, QStringLiteral("mwstdat"), std::nullopt, QStringLiteral("S"), shared.cDatver, dialogs.tableOpen);
    readSettings(shared, areas.current());

    if (!context.files.fileExists(shared.cObver + QStringLiteral("mwstdat.dbf"))) {
        areas.close();
        dialogs.message(QStringLiteral("Keine Verbindung zum ZentralServer!") + shared.CRLF +
                        QStringLiteral("Versuchen Sie es später nochmal!"));
        return false;
    }
    areas.close();

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
