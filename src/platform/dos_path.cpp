#include "platform/dos_path.h"

#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace sendwerk {

namespace {

bool isSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

bool hasDrive(const QString& dosPath) {
    return dosPath.size() >= 2 && dosPath.at(1) == QLatin1Char(':') && dosPath.at(0).isLetter();
}

bool existsOnDisk(const QString& nativePath) {
    struct stat info {};
    return ::lstat(QFile::encodeName(nativePath).constData(), &info) == 0;
}

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool sameAsciiIgnoringCase(const char* a, const QByteArray& b) {
    qsizetype i = 0;
    for (; a[i] != '\0' && i < b.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] + 32) : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] + 32) : b[i];
        if (x != y) return false;
    }
    return a[i] == '\0' && i == b.size();
}

// The entry of `folder` whose name equals `component` ignoring case; the first in
// name order when several do (a case-sensitive disk may hold "a" and "A"). Empty when
// none does or the folder cannot be read. An ASCII name is compared on the raw bytes,
// so a folder of thousands of orders costs no conversion per entry.
QString caseInsensitiveEntry(const QString& folder, const QString& component) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(QFile::encodeName(folder).constData()), ::closedir);
    if (!dir) return {};
    const QByteArray wanted = QFile::encodeName(component);
    const bool ascii = isAscii(wanted);
    QString best;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (ascii && !sameAsciiIgnoringCase(entry->d_name, wanted)) continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (!ascii && name.compare(component, Qt::CaseInsensitive) != 0) continue;
        if (best.isEmpty() || name < best) best = name;
    }
    return best;
}

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString parentOf(const QString& path, const QString& floor) {
    if (path.size() <= floor.size()) return path;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    if (cut <= 0) return QStringLiteral("/");
    const QString parent = path.left(cut);
    return parent.size() < floor.size() ? floor : parent;
}

}  // namespace

PathResolver::PathResolver(QMap<QChar, QString> drives) {
    for (auto it = drives.cbegin(); it != drives.cend(); ++it) drives_.insert(it.key().toUpper(), it.value());
}

PathResolver PathResolver::fromSettings(const Settings& settings) { return PathResolver(settings.drives); }

QString PathResolver::native(const QString& dosPath) const {
    // The C library would end the path at the NUL and so reach another file.
    if (dosPath.contains(QChar(0))) return {};
    QString base;
    QString rest = dosPath;
    if (hasDrive(dosPath)) {
        const auto drive = drives_.constFind(dosPath.at(0).toUpper());
        if (drive == drives_.cend() || drive->isEmpty()) return {};
        base = QDir::cleanPath(*drive);
        rest = dosPath.mid(2);
    } else if (!dosPath.isEmpty() && isSeparator(dosPath.at(0))) {
        base = QStringLiteral("/");
    } else {
        base = QDir::currentPath();
    }
    // A drive path stays inside its drive, as ".." at a DOS drive's root does; a
    // relative path may climb above the current folder.
    const QString floor = hasDrive(dosPath) ? base : QStringLiteral("/");

    QString path = base;
    bool onDisk = true;  // once a component is missing, the rest cannot exist either
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    for (const QString& component : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (component == QLatin1String(".")) continue;
        if (component == QLatin1String("..")) {
            path = parentOf(path, floor);
            onDisk = existsOnDisk(path);
            continue;
        }
        QString name = component;
        if (onDisk && !existsOnDisk(joined(path, component))) {
            const QString match = caseInsensitiveEntry(path, component);
            if (match.isEmpty())
                onDisk = false;
            else
                name = match;
        }
        path = joined(path, name);
    }
    return path;
}

QString PathResolver::nativeOrThrow(const QString& dosPath) const {
    const QString path = native(dosPath);
    if (path.isEmpty() && dosPath.contains(QChar(0)))
        throw std::runtime_error(QStringLiteral("Pfad \"%1\" enthält ein NUL-Zeichen")
                                     .arg(QString(dosPath).replace(QChar(0), QLatin1String("\\0")))
                                     .toStdString());
    if (path.isEmpty())
        throw std::runtime_error(
            QStringLiteral("Laufwerk %1: des Pfads \"%2\" ist in der Einstellungsdatei nicht zugeordnet")
                .arg(dosPath.at(0).toUpper(), dosPath)
                .toStdString());
    return path;
}

}  // namespace sendwerk
