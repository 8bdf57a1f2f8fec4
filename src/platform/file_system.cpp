#include "platform/file_system.h"

#include "platform/system_error.h"
#include "platform/temporary_files.h"
#include "platform/wildcard.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

namespace sendwerk {

namespace {

QByteArray encoded(const QString& nativePath) { return QFile::encodeName(nativePath); }

QString cause(int error) { return germanCause(error); }

QString unmapped(const QString& dosPath) {
    return QStringLiteral("%1: das Laufwerk steht nicht in der Einstellungsdatei").arg(dosPath);
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports the error close() found (NFS reports write errors here).
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

QString folderOf(const QString& nativePath) {
    const qsizetype cut = nativePath.lastIndexOf(QLatin1Char('/'));
    if (cut < 0) return QStringLiteral(".");
    return cut == 0 ? QStringLiteral("/") : nativePath.left(cut);
}

// Writes a file through a temporary sibling that replaces the target only once its
// content is complete and on disk. `fill` writes the content and returns an empty
// string, or the cause of its failure. The temporary never survives a failure, and an
// existing target is left as it was. Its name has the pattern of platform/
// temporary_files.h, so a listing for "*.ausg" never sees a half-written order. `mode` is given
// to the result; without one a new file gets the usual mode under the umask.
Result<> replaceAtomically(const QString& target, std::optional<mode_t> mode,
                           const std::function<QString(int fd)>& fill) {
    const Result<TemporaryFile> created = createTemporarySibling(target);
    if (!created) return Failure{created.cause()};
    const QString temporary = created->path;
    Descriptor file(created->fd);
    auto fail = [&](const QString& why) {
        ::unlink(encoded(temporary).constData());
        return Result<>(Failure{QStringLiteral("%1 nicht zu schreiben: %2").arg(target, why)});
    };
    if (const QString why = fill(file.get()); !why.isEmpty()) return fail(why);
    if (mode) ::fchmod(file.get(), *mode);
    if (::fsync(file.get()) != 0 || file.close() != 0) return fail(cause(errno));
    if (::rename(encoded(temporary).constData(), encoded(target).constData()) != 0) return fail(cause(errno));
    // The rename itself is on disk only once the folder is.
    Descriptor folder(::open(encoded(folderOf(target)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) ::fsync(folder.get());
    return {};
}

// A replacing write keeps the mode of the file it replaces.
std::optional<mode_t> modeOf(const QString& target) {
    struct stat info {};
    if (::stat(encoded(target).constData(), &info) == 0) return info.st_mode & 07777;
    return std::nullopt;
}

bool statOf(const QString& nativePath, struct stat& info) {
    return !nativePath.isEmpty() && ::stat(encoded(nativePath).constData(), &info) == 0;
}

// The names in a native folder that `keep` accepts (it gets the folder's descriptor for
// fstatat), without dot entries (the Linux form of hidden files), in case-insensitive
// name order as the office's Windows server lists a folder. A missing folder has none.
QStringList entriesOf(const QString& nativeFolder,
                      const std::function<bool(const QString& name, int folder, const dirent& entry)>& keep) {
    if (nativeFolder.isEmpty()) return {};
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(encoded(nativeFolder).constData()), ::closedir);
    if (!dir) return {};
    QStringList names;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (keep(name, ::dirfd(dir.get()), *entry)) names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

}  // namespace

FileSystem::FileSystem(PathResolver resolver) : resolver_(std::move(resolver)) {}

QStringList FileSystem::list(const QString& dosPattern) const {
    qsizetype cut = std::max(dosPattern.lastIndexOf(QLatin1Char('\\')), dosPattern.lastIndexOf(QLatin1Char('/')));
    QString dosFolder;
    QString pattern;
    if (cut >= 0) {
        dosFolder = dosPattern.left(cut + 1);
        pattern = dosPattern.mid(cut + 1);
    } else if (dosPattern.size() >= 2 && dosPattern.at(1) == QLatin1Char(':')) {
        dosFolder = dosPattern.left(2);
        pattern = dosPattern.mid(2);
    } else {
        pattern = dosPattern;
    }
    return entriesOf(resolver_.native(dosFolder), [&](const QString& name, int folder, const dirent& entry) {
        if (!matchesWildcard(name, pattern)) return false;
        if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return entry.d_type == DT_REG;
        struct stat info {};
        return ::fstatat(folder, entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
    });
}

bool FileSystem::fileExists(const QString& dosPath) const {
    struct stat info {};
    return statOf(resolver_.native(dosPath), info) && S_ISREG(info.st_mode);
}

bool FileSystem::folderExists(const QString& dosPath) const {
    struct stat info {};
    return statOf(resolver_.native(dosPath), info) && S_ISDIR(info.st_mode);
}

QByteArray FileSystem::readWhole(const QString& dosPath) const {
    Result<QByteArray> bytes = read(dosPath);
    return bytes ? std::move(*bytes) : QByteArray();
}

Result<QByteArray> FileSystem::read(const QString& dosPath) const {
    const QString path = resolver_.native(dosPath);
    if (path.isEmpty()) return Failure{unmapped(dosPath)};
    Descriptor file(::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) return Failure{QStringLiteral("%1 nicht zu lesen: %2").arg(path, cause(errno))};
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0) return bytes;
        if (got < 0) {
            if (errno == EINTR) continue;
            return Failure{QStringLiteral("%1 nicht zu lesen: %2").arg(path, cause(errno))};
        }
        bytes.append(buffer, got);
    }
}

Result<> FileSystem::writeWhole(const QString& dosPath, const QByteArray& bytes) const {
    const QString path = resolver_.native(dosPath);
    if (path.isEmpty()) return Failure{unmapped(dosPath)};
    return replaceAtomically(path, modeOf(path), [&](int fd) {
        return writeAll(fd, bytes.constData(), bytes.size()) ? QString() : cause(errno);
    });
}

Result<> FileSystem::copy(const QString& fromDos, const QString& toDos) const {
    const QString from = resolver_.native(fromDos);
    if (from.isEmpty()) return Failure{unmapped(fromDos)};
    const QString to = resolver_.native(toDos);
    if (to.isEmpty()) return Failure{unmapped(toDos)};
    Descriptor source(::open(encoded(from).constData(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!source.valid() || ::fstat(source.get(), &info) != 0)
        return Failure{QStringLiteral("%1 nicht zu kopieren: %2").arg(from, cause(errno))};
    if (!S_ISREG(info.st_mode)) return Failure{QStringLiteral("%1 nicht zu kopieren: keine Datei").arg(from)};
    const Result<> result = replaceAtomically(to, mode_t(info.st_mode & 0777), [&](int fd) {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(source.get(), buffer, sizeof buffer);
            if (got == 0) return QString();
            if (got < 0) {
                if (errno == EINTR) continue;
                return QStringLiteral("beim Lesen von %1: %2").arg(from, cause(errno));
            }
            if (!writeAll(fd, buffer, got)) return cause(errno);
        }
    });
    if (!result) return Failure{QStringLiteral("Kopie von %1 fehlgeschlagen: %2").arg(from, result.cause())};
    return result;
}

Result<> FileSystem::erase(const QString& dosPath) const {
    const QString path = resolver_.native(dosPath);
    if (path.isEmpty()) return Failure{unmapped(dosPath)};
    if (::unlink(encoded(path).constData()) == 0 || errno == ENOENT) return {};
    return Failure{QStringLiteral("%1 nicht zu löschen: %2").arg(path, cause(errno))};
}

Result<> FileSystem::rename(const QString& fromDos, const QString& toDos, Replacing replacing) const {
    const QString from = resolver_.native(fromDos);
    if (from.isEmpty()) return Failure{unmapped(fromDos)};
    const QString to = resolver_.native(toDos);
    if (to.isEmpty()) return Failure{unmapped(toDos)};
    const int error = replacing == Replacing::Yes
                          ? (::rename(encoded(from).constData(), encoded(to).constData()) == 0 ? 0 : errno)
                          : renameWithoutReplacing(from, to);
    if (error != 0) return Failure{QStringLiteral("%1 nicht in %2 umzubenennen: %3").arg(from, to, cause(error))};
    return {};
}

QStringList FileSystem::subfolders(const QString& dosFolder) const {
    return entriesOf(resolver_.native(dosFolder), [](const QString&, int folder, const dirent& entry) {
        struct stat info {};
        return ::fstatat(folder, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
    });
}

std::optional<FileSystem::Stamp> FileSystem::stamp(const QString& dosPath) const {
    struct stat info {};
    if (!statOf(resolver_.native(dosPath), info) || !S_ISREG(info.st_mode)) return std::nullopt;
    return Stamp{qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

Result<> FileSystem::makeFolders(const QString& dosPath) const {
    const QString path = resolver_.native(dosPath);
    if (path.isEmpty()) return Failure{unmapped(dosPath)};
    // Each level from the top: an existing folder is fine, anything else named so is not.
    for (qsizetype end = path.indexOf(QLatin1Char('/'), 1);; end = path.indexOf(QLatin1Char('/'), end + 1)) {
        const QString level = end < 0 ? path : path.left(end);
        if (::mkdir(encoded(level).constData(), 0777) != 0 && errno != EEXIST)
            return Failure{QStringLiteral("Ordner %1 nicht anzulegen: %2").arg(level, cause(errno))};
        if (end < 0) break;
    }
    struct stat info {};
    if (!statOf(path, info) || !S_ISDIR(info.st_mode))
        return Failure{QStringLiteral("Ordner %1 nicht anzulegen: eine Datei dieses Namens ist da").arg(path)};
    return {};
}

bool FileSystem::canOpenExclusively(const QString& dosPath) const {
    const QString path = resolver_.native(dosPath);
    if (path.isEmpty()) return false;
    // The table engine holds a flock on every open table, per open file description,
    // so this exclusive try fails while any descriptor anywhere (ours included) has it.
    Descriptor file(::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) return false;
    return ::flock(file.get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace sendwerk
