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
    // Creates (or empties) a file for writing.
    static FileHandle createNew(const QString& path);

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
    // Byte-range write lock; `wait` blocks until it is free (used only for the short
    // append lock), otherwise false when someone else holds it.
    bool lockRange(std::int64_t start, std::int64_t length, bool wait);
    void unlockRange(std::int64_t start, std::int64_t length);

private:
    FileHandle(int fd, QString path, bool writable);
    [[noreturn]] void fail(const char* what) const;

    int fd_ = -1;
    QString path_;
    bool writable_ = false;
};

}  // namespace sendwerk::dbf
