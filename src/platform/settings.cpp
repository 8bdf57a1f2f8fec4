#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace sendwerk {

namespace {

// The values of an INI file as "section/key" (both lower case) → value. Read by hand
// rather than through QSettings: QSettings takes backslashes as escapes, commas as list
// separators and ';' as a comment start, and the values here are DOS paths
// ("C:\ZUMA\") and command lines that must arrive exactly as written. Lines starting
// with ';' or '#' are comments; a value in double quotes loses its quotes.
QMap<QString, QString> readIni(const QString& path) {
    QMap<QString, QString> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return values;
    QString section;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) continue;
        const QString key = line.left(equals).trimmed().toLower();
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        values.insert(section + QLatin1Char('/') + key, value);
    }
    return values;
}

QString environment(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

}  // namespace

Result<QString> Settings::locate(QStringList* searched) {
    // An explicit choice is never overridden by a file found elsewhere.
    const QString chosen = environment("SENDWERK_CONFIG");
    if (!chosen.isEmpty()) {
        if (QFileInfo(chosen).isFile()) return chosen;
        return Failure{QStringLiteral("Die Einstellungsdatei %1 (SENDWERK_CONFIG) gibt es nicht.").arg(chosen)};
    }

    QString configHome = environment("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    const QStringList candidates = {configHome + QStringLiteral("/sendwerk/sendwerk.conf"),
                                    QStringLiteral("/etc/sendwerk/sendwerk.conf")};
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile()) return candidate;
    if (searched) *searched = QStringList{QStringLiteral("$SENDWERK_CONFIG (nicht gesetzt)")} + candidates;
    return QString();
}

Result<Settings> Settings::load() {
    QStringList searched;
    const Result<QString> path = locate(&searched);
    if (!path.ok()) return Failure{path.cause()};
    if (!path->isEmpty()) return fromFile(*path);
    Settings none;
    none.searched = searched;
    return none;
}

QString Settings::origin() const {
    if (!file.isEmpty()) return QStringLiteral("Einstellungen aus %1").arg(file);
    return QStringLiteral("Keine Einstellungsdatei gefunden, kein Laufwerk zugeordnet; gesucht: %1")
        .arg(searched.join(QStringLiteral(", ")));
}

Settings Settings::fromFile(const QString& path) {
    const QMap<QString, QString> values = readIni(path);
    Settings settings;
    const QString drivesPrefix = QStringLiteral("drives/");
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!it.key().startsWith(drivesPrefix)) continue;
        QString letter = it.key().mid(drivesPrefix.size());
        if (letter.endsWith(QLatin1Char(':'))) letter.chop(1);  // "C:=/srv/zuma" means the same
        if (letter.size() == 1 && letter.at(0).isLetter() && !it.value().isEmpty())
            settings.drives.insert(letter.at(0).toUpper(), it.value());
    }
    settings.editor = QProcess::splitCommand(values.value(QStringLiteral("programs/editor")));
    settings.textPrinter = values.value(QStringLiteral("programs/textprinter"));
    if (const QString page = values.value(QStringLiteral("programs/textcodepage")); !page.isEmpty())
        settings.textCodePage = page;
    settings.pagePrinter = values.value(QStringLiteral("programs/pageprinter"));
    settings.orderTableFolder = values.value(QStringLiteral("tables/orderfolder"));
    // The folder is used as a prefix, so it must end with a separator.
    if (!settings.orderTableFolder.isEmpty() && !settings.orderTableFolder.endsWith(QLatin1Char('\\')) &&
        !settings.orderTableFolder.endsWith(QLatin1Char('/')))
        settings.orderTableFolder += QLatin1Char('\\');
    settings.caFile = values.value(QStringLiteral("mail/cafile"));
    const QString reportTo = values.value(QStringLiteral("mail/reportto"));
    if (!reportTo.isEmpty()) settings.errorReportAddress = reportTo;
    settings.file = path;
    bool ok = false;
    const double settle = values.value(QStringLiteral("queue/settle")).toDouble(&ok);
    if (ok && settle >= 0) settings.settleSeconds = settle;
    return settings;
}

}  // namespace sendwerk
