// An open file of the table engine (DBF, DBT or NTX): one POSIX descriptor opened with
// O_CLOEXEC, positioned reads and writes that never touch anything but the range asked
// for, fsync, the whole-file share lock (flock) and byte-range locks as
// open-file-description locks (F_OFD_SETLK), which belong to this descriptor only, so
// two opens of one file in one process do not drop each other's locks.
// Failures of reads, writes and syncs throw DbfError naming the file. Used by the
// engine's own files only.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace sendwerk::dbf {

class FileHandle {
public:
    enum class Access { ReadOnly, ReadWrite };

    FileHandle() = default;
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Opens an existing file; ReadWrite falls back to read-only when the file may not be
    // written. Throws DbfError when it cannot be opened.
    static FileHandle openExisting(const QString& path, Access access);
    // Creates a new file beside `target` under a temporary name of its own
    // (platform/temporary_files.h; path() tells which), never one that exists already.
    static FileHandle createTemporary(const QString& target);

    bool isOpen() const { return fd_ >= 0; }
    bool writable() const { return writable_; }
    const QString& path() const { return path_; }

    std::int64_t size() const;
    // Up to `length` bytes from `offset`; shorter at the end of the file.
    QByteArray readAt(std::int64_t offset, std::int64_t length) const;
    void writeAt(std::int64_t offset, const QByteArray& bytes);
    void sync();

    // Whole-file share lock for as long as the file is open; false when another
    // descriptor holds a conflicting one.
    bool tryShareLock(bool exclusive);
    // The shared lock, but only when no other descriptor has the file locked at all:
    // the exclusive try and the step down to shared happen under the start-up lock, so
    // no other copy doing the same sees the file free in between.
    bool tryShareLockAlone();
    // Byte-range write lock, without waiting: false when someone else holds it (waits
    // with a time limit: dbf/lock_wait.h).
    bool lockRange(std::int64_t start, std::int64_t length);
    void unlockRange(std::int64_t start, std::int64_t length);

private:
    FileHandle(int fd, QString path, bool writable);
    [[noreturn]] void fail(const char* what) const;

    int fd_ = -1;
    QString path_;
    bool writable_ = false;
};

}  // namespace sendwerk::dbf
