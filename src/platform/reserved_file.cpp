#include "platform/reserved_file.h"

#include "platform/system_error.h"
#include "platform/temporary_files.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace sendwerk {

ReservedFile::ReservedFile(int fd, QString temporary, QString target)
    : fd_(fd), temporary_(std::move(temporary)), target_(std::move(target)) {}

ReservedFile::~ReservedFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(QFile::encodeName(temporary_).constData());
}

Result<std::unique_ptr<ReservedFile>> ReservedFile::reserve(const QString& nativeTarget, qint64 bytes) {
    const Result<TemporaryFile> created = createTemporarySibling(nativeTarget);
    if (!created) return Failure{created.cause()};
    std::unique_ptr<ReservedFile> file(new ReservedFile(created->fd, created->path, nativeTarget));
    // posix_fallocate returns its error instead of setting errno.
    if (const int error = ::posix_fallocate(file->fd_, 0, bytes); error != 0)
        return Failure{QStringLiteral("kein Platz für %1: %2").arg(nativeTarget, germanCause(error))};
    if (::fsync(file->fd_) != 0)
        return Failure{QStringLiteral("kein Platz für %1: %2").arg(nativeTarget, germanCause(errno))};
    return file;
}

Result<> ReservedFile::commit(const QByteArray& content) {
    const auto failed = [&](int error) {
        return Result<>(Failure{QStringLiteral("%1 nicht zu schreiben: %2").arg(target_, germanCause(error))});
    };
    for (qsizetype done = 0; done < content.size();) {
        const ssize_t written = ::pwrite(fd_, content.constData() + done, size_t(content.size() - done), done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return failed(errno);
        }
        done += written;
    }
    if (::ftruncate(fd_, content.size()) != 0 || ::fsync(fd_) != 0) return failed(errno);
    if (::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(target_).constData()) != 0)
        return failed(errno);
    committed_ = true;
    // The new name is on disk only once its folder is.
    const int folder =
        ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

}  // namespace sendwerk
