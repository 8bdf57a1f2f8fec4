#include "dbf/memo_file.h"

#include "dbf/lock_offsets.h"
#include "dbf/lock_wait.h"
#include "dbf/table.h"

#include <QtEndian>

#include <algorithm>

namespace sendwerk::dbf {

namespace {

QByteArray headerBlock(quint32 nextFree) {
    QByteArray block(MemoFile::blockSize, '\0');
    qToLittleEndian<quint32>(nextFree, block.data());
    block[16] = 0x03;  // dBASE III memo file
    return block;
}

}  // namespace

void MemoFile::writeEmpty(FileHandle& file) {
    file.writeAt(0, headerBlock(1));
    file.sync();
}

QByteArray MemoFile::read(quint32 block) const {
    const std::int64_t start = std::int64_t{block} * blockSize;
    const std::int64_t end = file_.size();
    if (block == 0 || start >= end)
        throw DbfError(file_.path().toStdString() + ": memo block " + std::to_string(block) +
                       " lies beyond the end of the memo file");
    QByteArray text;
    for (std::int64_t at = start; at < end; at += blockSize) {
        const QByteArray chunk = file_.readAt(at, blockSize);
        const qsizetype stop = chunk.indexOf('\x1A');
        if (stop >= 0) return text + chunk.left(stop);
        text += chunk;
    }
    return text;
}

quint32 MemoFile::write(const QByteArray& text, bool shared) {
    if (text.contains('\x1A')) throw DbfError(file_.path().toStdString() + ": a memo cannot hold the byte 0x1A");
    if (shared && !waitForLock(file_, lockBase, 1, LockWait{}))
        throw DbfError(file_.path().toStdString() + ": the memo file stays locked by another program");
    const QByteArray header = file_.readAt(0, 4);
    quint32 next = header.size() == 4 ? qFromLittleEndian<quint32>(header.constData()) : 1;
    // A header that points into used blocks would overwrite other memos.
    const std::int64_t usedBlocks = (file_.size() + blockSize - 1) / blockSize;
    next = static_cast<quint32>(std::max<std::int64_t>({next, usedBlocks, 1}));
    const QByteArray stored = text + "\x1A\x1A";
    const quint32 blocks = static_cast<quint32>((stored.size() + blockSize - 1) / blockSize);
    try {
        file_.writeAt(std::int64_t{next} * blockSize, stored);
        QByteArray pointer(4, '\0');
        qToLittleEndian<quint32>(next + blocks, pointer.data());
        file_.writeAt(0, pointer);
    } catch (...) {
        if (shared) file_.unlockRange(lockBase, 1);
        throw;
    }
    if (shared) file_.unlockRange(lockBase, 1);
    return next;
}

}  // namespace sendwerk::dbf
