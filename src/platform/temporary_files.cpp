#include "platform/temporary_files.h"

#include "platform/system_error.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace sendwerk {

QString temporarySibling(const QString& target) {
    return QStringLiteral("%1.~%2").arg(target).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

Result<TemporaryFile> createTemporarySibling(const QString& nativeTarget) {
    for (int attempt = 0;; ++attempt) {
        const QString path = temporarySibling(nativeTarget);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return TemporaryFile{fd, path};
        if (errno != EEXIST || attempt == 100)
            return Failure{QStringLiteral("%1 nicht anzulegen: %2").arg(path, germanCause(errno))};
    }
}

bool isTemporarySibling(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral("^.+\\.~[0-9a-f]{8}$"));
    return pattern.match(fileName).hasMatch();
}

int renameWithoutReplacing(const QString& fromNative, const QString& toNative) {
    const QByteArray from = QFile::encodeName(fromNative);
    const QByteArray to = QFile::encodeName(toNative);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the no-replace rename: a hard link never replaces either.
    if (::link(from.constData(), to.constData()) != 0) return errno;
    ::unlink(from.constData());
    return 0;
}

}  // namespace sendwerk
