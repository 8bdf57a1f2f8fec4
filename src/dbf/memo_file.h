// The DBT memo file of a dBASE III table: 512-byte blocks, block 0 holds the number of
// the next free block, a memo is raw text ended by 0x1A 0x1A. A written memo always goes
// to the next free block (the old blocks stay unused, as other engines do); in shared
// use the allocation runs under a byte-range lock of the DBT, so two processes never
// get the same block. Reads stop at the first 0x1A or at the end of the file (a memo
// without terminator reads up to there); a block number beyond the file throws DbfError.
#pragma once

#include "dbf/file_handle.h"

#include <QByteArray>
#include <QString>

namespace sendwerk::dbf {

class MemoFile {
public:
    static constexpr int blockSize = 512;

    explicit MemoFile(FileHandle file) : file_(std::move(file)) {}
    // Writes an empty memo file (only its header block) into a new file.
    static void writeEmpty(FileHandle& file);

    QByteArray read(quint32 block) const;
    // Stores `text` in fresh blocks and returns the first one. Text holding 0x1A cannot
    // be stored in this format and is refused with DbfError.
    quint32 write(const QByteArray& text, bool shared);
    void sync() { file_.sync(); }
    const QString& path() const { return file_.path(); }

private:
    FileHandle file_;
};

}  // namespace sendwerk::dbf
