#include "queue/start_up.h"

#include <QFileInfo>

#include "dbf/work_areas.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/office_text.h"
#include "queue/leftovers.h"
#include "queue/queue_context.h"
#include "queue/send_log.h"
#include "queue/shared.h"

namespace sendwerk {

namespace {

void readSettings(Shared& shared, const dbf::Table& settings) {
    shared.cDatver = settings.hasField(QStringLiteral("datver"))
                         ? withoutTrailingBlanks(decode1252(settings.text(QStringLiteral("datver"))))
                         : withoutTrailingBlanks(shared.cDatver);
    const QByteArray f10 =
        settings.hasField(QStringLiteral("f10")) ? settings.text(QStringLiteral("f10")) : QByteArray();
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

    // A second copy that starts at the same moment may create the log first; its table
    // is kept, and the single-instance test below decides which copy runs.
    if (!context.files.fileExists(sendLogFile(shared.cDatver))) (void)createSendLog(areas, shared.cDatver);

    // The test and the open are one step, so a second copy cannot pass the test in the
    // moment between them; a log that someone holds exclusively counts as a copy running.
    areas.select(kSendLogArea);
    if (!openSendLogAlone(areas, shared.cDatver)) {
        dialogs.message(QStringLiteral("Sendwerk ist bereits geöffnet!") + shared.CRLF +
                        QStringLiteral("Bitte ggf. zuerst schließen!"));
        return false;
    }
    if (const QString fault = sendLogFieldFault(areas, shared.cDatver); !fault.isEmpty()) {
        areas.close();
        dialogs.message(fault + shared.CRLF + QStringLiteral("Sendwerk startet nicht."));
        return false;
    }
    // Only now, with the log held, is no other copy at work in the queue folders.
    context.leftoversRemoved = removeLeftovers(shared.cDatver, context.files);
    return true;
}

}  // namespace sendwerk
