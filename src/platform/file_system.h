// The file operations of the office's rules, on DOS-form paths (resolved through the
// drive map at each call). Expected outcomes are return values (a failed Result names
// the file and the cause in German); nothing here throws for a file that is missing or
// a copy that fails.
//
// Guarantees:
// - writeWhole() replaces a file atomically (temporary file in the same folder, fsync,
//   rename), so a crash never leaves half a file.
// - copy() reports success only once the copy is complete and flushed to disk; on
//   failure it removes its partial target and says why. Callers never erase a source
//   after a failed copy.
// - erase() of a missing file is not an error.
// - list() delivers normal files only (no folders, no hidden dot files), matched
//   case-insensitively, in case-insensitive name order (as the office's Windows server
//   lists them), so runs are deterministic.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/dos_path.h"
#include "platform/result.h"

namespace sendwerk {

class FileSystem {
public:
    explicit FileSystem(PathResolver resolver);

    const PathResolver& resolver() const { return resolver_; }
    QString native(const QString& dosPath) const { return resolver_.native(dosPath); }

    // File names (no folder) of the normal files that match the wildcard pattern of
    // the last component ("C:\ZUMA\CMail\Ausgang\*.ausg"); '*' and '?' as in DOS.
    // A missing folder lists nothing.
    QStringList list(const QString& dosPattern) const;

    bool fileExists(const QString& dosPath) const;
    bool folderExists(const QString& dosPath) const;

    // The whole file; a missing or unreadable file reads as empty.
    QByteArray readWhole(const QString& dosPath) const;
    // Same, but tells a missing or unreadable file apart from an empty one.
    Result<QByteArray> read(const QString& dosPath) const;
    Result<> writeWhole(const QString& dosPath, const QByteArray& bytes) const;

    Result<> copy(const QString& fromDos, const QString& toDos) const;
    Result<> erase(const QString& dosPath) const;
    // Creates the folder and any missing parents.
    Result<> makeFolders(const QString& dosPath) const;

    // The single-instance test: true when the file can be opened for reading with
    // exclusive access right now, that is no one (this process included) holds it open
    // through the table engine. The file is closed again at once.
    bool canOpenExclusively(const QString& dosPath) const;

private:
    PathResolver resolver_;
};

}  // namespace sendwerk
