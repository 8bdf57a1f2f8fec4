// A file whose space is taken before its content is known, for a result that must be
// writable after work that cannot be undone (a mail that went out): reserve() creates
// the temporary sibling now (platform/temporary_files.h) and allocates the space;
// commit() later writes the content into that space, trims the rest, syncs and gives
// the file its final name, which so appears only with the complete content. A full disk
// shows at reserve(), when nothing has happened yet. A reservation that is never
// committed takes its temporary file with it. Paths are native. Not thread-safe.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

#include "platform/result.h"

namespace sendwerk {

class ReservedFile {
public:
    static Result<std::unique_ptr<ReservedFile>> reserve(const QString& nativeTarget, qint64 bytes);
    ~ReservedFile();
    ReservedFile(const ReservedFile&) = delete;
    ReservedFile& operator=(const ReservedFile&) = delete;

    // Once; content beyond the reserved size still needs free space.
    Result<> commit(const QByteArray& content);

private:
    ReservedFile(int fd, QString temporary, QString target);

    int fd_;
    QString temporary_;
    QString target_;
    bool committed_ = false;
};

}  // namespace sendwerk
