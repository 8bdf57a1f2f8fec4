// Turns the DOS-form paths that the office's rules compose ("C:\ZUMA\CMail\Ausgang\x.ausg")
// into native Linux paths, at the moment a file-system call needs one.
//
// - "X:\rest" maps X through the drive map; an unmapped drive is an error (native()
//   gives an empty path, nativeOrThrow() an exception naming the drive). ".." never
//   climbs above a drive's folder; "." is skipped. A path with a NUL character in it
//   resolves to nothing, like an unmapped drive.
// - A path without a drive is relative to the current folder; a path that starts with a
//   separator is rooted (so native absolute paths pass through).
// - "\" and "/" both separate components. Each component is matched case-insensitively
//   against what exists on disk, an exact match winning; components that do not exist
//   yet keep the spelling given.
// Thread-safe for concurrent const use.
#pragma once

#include <QChar>
#include <QMap>
#include <QString>

namespace sendwerk {

struct Settings;

class PathResolver {
public:
    PathResolver() = default;
    explicit PathResolver(QMap<QChar, QString> drives);
    static PathResolver fromSettings(const Settings& settings);

    // The native path for `dosPath`; empty when the drive is not mapped.
    QString native(const QString& dosPath) const;
    // Like native(), but throws std::runtime_error naming the path when the drive is
    // not mapped.
    QString nativeOrThrow(const QString& dosPath) const;

    const QMap<QChar, QString>& drives() const { return drives_; }

private:
    QMap<QChar, QString> drives_;
};

}  // namespace sendwerk
