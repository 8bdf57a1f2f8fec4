#include "dbf/file_handle.h"

#include "dbf/lock_offsets.h"
#include "dbf/table.h"
#include "platform/temporary_files.h"
#include "platform/system_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace sendwerk::dbf {

// German, because these are the causes the operator reads in the default error report.
static std::string describe(const QString& path, const char* what, int error) {
    return (path + QStringLiteral(": ") + QString::fromUtf8(what) + QStringLiteral(": ") + germanCause(error))
        .toStdString();
}

FileHandle::FileHandle(int fd, QString path, bool writable) : fd_(fd), path_(std::move(path)), writable_(writable) {}

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)), writable_(other.writable_) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        writable_ = other.writable_;
    }
    return *this;
}

FileHandle FileHandle::openExisting(const QString& path, Access access) {
    const QByteArray native = path.toLocal8Bit();
    if (access == Access::ReadWrite) {
        const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) return FileHandle(fd, path, true);
        if (errno != EACCES && errno != EROFS && errno != EPERM)
            throw DbfError(describe(path, "kann nicht geöffnet werden", errno));
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw DbfError(describe(path, "kann nicht geöffnet werden", errno));
    return FileHandle(fd, path, false);
}

FileHandle FileHandle::createTemporary(const QString& target) {
    const Result<TemporaryFile> created = createTemporarySibling(target);
    if (!created) throw DbfError(created.cause().toStdString());
    return FileHandle(created->fd, created->path, true);
}

void FileHandle::fail(const char* what) const { throw DbfError(describe(path_, what, errno)); }

std::int64_t FileHandle::size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) fail("Dateigröße nicht lesbar");
    return info.st_size;
}

QByteArray FileHandle::readAt(std::int64_t offset, std::int64_t length) const {
    QByteArray bytes(static_cast<qsizetype>(length), '\0');
    std::int64_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd_, bytes.data() + done, length - done, offset + done);
        if (got < 0) {
            if (errno == EINTR) continue;
            fail("Lesefehler");
        }
        if (got == 0) break;
        done += got;
    }
    bytes.truncate(static_cast<qsizetype>(done));
    return bytes;
}

void FileHandle::writeAt(std::int64_t offset, const QByteArray& bytes) {
    if (!writable_) throw DbfError(path_.toStdString() + ": the file is read-only");
    std::int64_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd_, bytes.constData() + done, bytes.size() - done, offset + done);
        if (put < 0) {
            if (errno == EINTR) continue;
            fail("Schreibfehler");
        }
        done += put;
    }
}

void FileHandle::sync() {
    if (writable_ && ::fsync(fd_) != 0) fail("nicht auf den Datenträger geschrieben (fsync)");
}

bool FileHandle::tryShareLock(bool exclusive) {
    while (::flock(fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return false;
        fail("Sperre für gemeinsame Nutzung nicht zu bekommen");
    }
    return true;
}

bool FileHandle::tryShareLockAlone() {
    if (!lockRange(startUpLockOffset, 1)) return false;
    // Stepping down from exclusive is not atomic in flock(); a program that grabs the
    // file in that gap makes the shared try fail, which is the right answer too.
    const bool alone = tryShareLock(true) && tryShareLock(false);
    unlockRange(startUpLockOffset, 1);
    return alone;
}

static struct flock rangeOf(short type, std::int64_t start, std::int64_t length) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(start);
    lock.l_len = static_cast<off_t>(length);
    lock.l_pid = 0;  // required by open-file-description locks
    return lock;
}

bool FileHandle::lockRange(std::int64_t start, std::int64_t length) {
    // A lock needs write access for F_WRLCK; a read-only open takes a read lock, which
    // still conflicts with everyone else's write locks.
    struct flock lock = rangeOf(writable_ ? F_WRLCK : F_RDLCK, start, length);
    while (::fcntl(fd_, F_OFD_SETLK, &lock) != 0) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EACCES) return false;
        fail("Satzsperre nicht zu bekommen");
    }
    return true;
}

void FileHandle::unlockRange(std::int64_t start, std::int64_t length) {
    struct flock lock = rangeOf(F_UNLCK, start, length);
    while (::fcntl(fd_, F_OFD_SETLK, &lock) != 0) {
        if (errno != EINTR) fail("Satzsperre nicht freizugeben");
    }
}

}  // namespace sendwerk::dbf
