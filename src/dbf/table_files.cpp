#include "dbf/table_files.h"

#include <QDir>
#include <QFileInfo>

namespace sendwerk::dbf {

QString existingSpelling(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) return path;
    const QDir folder = info.dir();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) return folder.filePath(name);
    return path;
}

QString tablePathFor(const QString& path) {
    if (!QFileInfo(path).suffix().isEmpty()) return existingSpelling(path);
    const QString upper = path + QStringLiteral(".DBF");
    const QString found = existingSpelling(upper);
    return found;
}

QString siblingPath(const QString& dbfPath, const QString& extension) {
    const QFileInfo info(dbfPath);
    const QString suffix = info.suffix();
    const bool lower = !suffix.isEmpty() && suffix == suffix.toLower();
    const QString base = info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.');
    return existingSpelling(base + (lower ? extension.toLower() : extension.toUpper()));
}

}  // namespace sendwerk::dbf
