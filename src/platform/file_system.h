// The file operations of the office's rules, on DOS-form paths (resolved through the
// drive map at each call). Expected outcomes are return values; nothing here throws for
// a file that is missing or a copy that fails.
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

namespace sendwerk {

// Outcome of an operation that can fail for reasons worth telling an operator.
struct FileResult {
    bool ok = true;
    QString error;  // names the file and the cause when !ok
    explicit operator bool() const { return ok; }
    static FileResult success() { return {}; }
    static FileResult failure(QString why) { return {false, std::move(why)}; }
};

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
    // Same, but tells a missing file apart from an empty one.
    FileResult readWhole(const QString& dosPath, QByteArray& into) const;
    FileResult writeWhole(const QString& dosPath, const QByteArray& bytes) const;

    FileResult copy(const QString& fromDos, const QString& toDos) const;
    FileResult erase(const QString& dosPath) const;
    // Creates the folder and any missing parents.
    FileResult makeFolders(const QString& dosPath) const;

    // The single-instance test: true when the file can be opened for reading with
    // exclusive access right now, that is no one (this process included) holds it open
    // through the table engine. The file is closed again at once.
    bool canOpenExclusively(const QString& dosPath) const;

private:
    PathResolver resolver_;
};

}  // namespace sendwerk
