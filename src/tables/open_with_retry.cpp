#include "tables/open_with_retry.h"

#include <stdexcept>

namespace sendwerk {

namespace {

// The central settings table is always taken from the same place, whatever the data
// root says.
constexpr QLatin1String kSettingsTable("C:\\ZUMA\\MWSTDAT");

bool hasDriveLetter(const QString& name) { return name.size() >= 2 && name.at(1) == QLatin1Char(':'); }

QString belowDataRoot(const QString& name, const QString& cDatver) {
    return hasDriveLetter(name) ? name : cDatver + name;
}

}  // namespace

bool Net_use(dbf::WorkAreas& areas, const QString& file, bool ex_use, int wait, const TableOpenDialogs& dialogs) {
    const bool endless = wait == 0;
    const dbf::ShareMode mode = ex_use ? dbf::ShareMode::Exclusive : dbf::ShareMode::Shared;
    while (endless || wait > 0) {
        if (areas.use(file, mode)) return true;
        dialogs.waitForKey(1.0);
        --wait;
    }
    return false;
}

int DBaufmachen(dbf::WorkAreas& areas, const QString& dat, const std::optional<QString>& ind, const QString& schalt,
                const QString& cDatver, const TableOpenDialogs& dialogs) {
    const QString table =
        dat.toUpper().startsWith(QLatin1String("MWSTDAT")) ? QString(kSettingsTable) : belowDataRoot(dat, cDatver);
    const std::optional<QString> index = ind ? std::optional(belowDataRoot(*ind, cDatver)) : std::nullopt;
    const bool exclusive = schalt == QLatin1String("E");
    for (;;) {
        if (Net_use(areas, table, exclusive, 5, dialogs)) {
            if (index) areas.setIndex(*index);
            return 0;
        }
        if (!dialogs.askYesNo(QStringLiteral("Nochmal versuchen=JA - Programmabbruch=NEIN"),
                              QStringLiteral("Datei ") + table + QStringLiteral(" kann nicht geöffnet werden!"))) {
            dialogs.endProgram();
            throw std::logic_error("DBaufmachen: the program was to end, but endProgram returned");
        }
    }
}

}  // namespace sendwerk
