#include "config/configuration_modes.h"

#include "config/text_editor.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "queue/address_import.h"
#include "queue/connection_data.h"

namespace sendwerk {
namespace {

const QString kWhitelist = QStringLiteral("CMail\\WhiteList.mad");
const QString kWhitelistTitle = QStringLiteral("Whitelist der Mail-Adressen eingeben/ändern");

void connectionDataMode(const QString& cDatver, const EditorEnvironment& env) {
    const QString text = decode1252(connectionTextForEditing(cDatver, env.files));
    Modaldialog_FM(env, cDatver + QStringLiteral("CMail\\Verbindungs.daten"),
                   QStringLiteral("Verbindungsdaten eingeben/ändern"), nullptr, 800, 600, text);
}

void whitelistEditMode(const QString& cDatver, const EditorEnvironment& env) {
    const QString path = cDatver + kWhitelist;
    const QString text = decode1252(normaliseLineBreaks(env.files.readWhole(path)));
    Modaldialog_FM(env, path, kWhitelistTitle, nullptr, 600, 600, text);
}

// False when there was nothing to import (the message told why).
bool whitelistImportMode(const QString& cDatver, const EditorEnvironment& env) {
    const Result<AddressImport> imported = importNewAddresses(cDatver, env.files, env.dialog.clock);
    if (!imported.ok()) {
        env.message(imported.cause());
        return false;
    }
    if (!imported->exportKept.isEmpty()) env.message(imported->exportKept);
    Modaldialog_FM(env, cDatver + kWhitelist, kWhitelistTitle, nullptr, 600, 600, {}, decode1252(imported->cNeu));
    return true;
}

}  // namespace

StartMode startModeFor(Qt::KeyboardModifiers held) {
    if (!held.testFlag(Qt::ControlModifier)) return StartMode::Normal;
    if (held.testFlag(Qt::ShiftModifier)) return StartMode::ConnectionData;
    if (held.testFlag(Qt::AltModifier)) return StartMode::WhitelistImport;
    return StartMode::WhitelistEdit;
}

void runConfigurationMode(StartMode mode, const QString& cDatver, const EditorEnvironment& env) {
    switch (mode) {
    case StartMode::Normal: return;
    case StartMode::ConnectionData: connectionDataMode(cDatver, env); break;
    case StartMode::WhitelistEdit: whitelistEditMode(cDatver, env); break;
    case StartMode::WhitelistImport:
        if (!whitelistImportMode(cDatver, env)) return;
        break;
    }
    env.message(QStringLiteral("Das Programm wird beendet. Starten Sie es bei Bedarf neu."));
}

}  // namespace sendwerk
