#include "platform/process_starter.h"

#include "platform/code_page.h"
#include "platform/system_error.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace sendwerk {

namespace {

bool isExecutableFile(const QString& nativePath) {
    struct stat info {};
    const QByteArray path = QFile::encodeName(nativePath);
    return ::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.constData(), X_OK) == 0;
}

// "Notepad.exe" in any case and any folder stands for the desktop editor.
bool isNotepad(const QString& dosProgram) {
    const qsizetype cut = std::max(dosProgram.lastIndexOf(QLatin1Char('\\')), dosProgram.lastIndexOf(QLatin1Char('/')));
    return dosProgram.mid(cut + 1).compare(QLatin1String("notepad.exe"), Qt::CaseInsensitive) == 0;
}

// Everything a child needs, prepared before fork(): the timer thread may hold locks at
// that moment, so the child only calls async-signal-safe functions and exec.
class ChildImage {
public:
    ChildImage(const QStringList& command, const QList<QByteArray>& arguments) {
        for (const QString& part : command) storage_.push_back(QFile::encodeName(part).toStdString());
        for (const QByteArray& argument : arguments)
            storage_.emplace_back(argument.constData(), size_t(argument.size()));
        for (std::string& part : storage_) argv_.push_back(part.data());
        argv_.push_back(nullptr);
        struct rlimit limit {};
        maxDescriptor_ = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                             ? int(std::min<rlim_t>(limit.rlim_cur, 1 << 20))
                             : 65536;
    }

    // In the child: no descriptor but 0, 1, 2 (and `keep` until exec) survives exec, so
    // no child ever holds a copy of a locked table; then exec or report errno on `keep`.
    [[noreturn]] void exec(int keep) const {
        if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
            for (int fd = 3; fd < maxDescriptor_; ++fd) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        ::signal(SIGPIPE, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (storage_.front().find('/') == std::string::npos)
            ::execvp(argv_[0], argv_.data());
        else
            ::execv(argv_[0], argv_.data());
        const int error = errno;
        [[maybe_unused]] ssize_t ignored = ::write(keep, &error, sizeof error);
        ::_exit(127);
    }

private:
    std::vector<std::string> storage_;
    std::vector<char*> argv_;
    int maxDescriptor_ = 0;
};

// A pipe that the child's exec closes: reading it tells whether exec succeeded.
struct ExecReport {
    int fds[2] = {-1, -1};
    ExecReport() {
        if (::pipe2(fds, O_CLOEXEC) != 0) fds[0] = fds[1] = -1;
    }
    ~ExecReport() {
        closeWriteEnd();
        if (fds[0] >= 0) ::close(fds[0]);
    }
    bool valid() const { return fds[0] >= 0; }
    void closeWriteEnd() {
        if (fds[1] >= 0) ::close(fds[1]);
        fds[1] = -1;
    }
    // True when the child reached exec; blocks until it has or has failed. On failure
    // `error` holds the child's errno.
    bool execSucceeded() {
        closeWriteEnd();
        for (;;) {
            const ssize_t got = ::read(fds[0], &error, sizeof error);
            if (got < 0 && errno == EINTR) continue;
            return got == 0;
        }
    }
    int error = 0;
};

// An argument vector ends each argument at a NUL byte; rather than hand the program a
// shortened argument (an order file full of garbage can bring one), it is not started.
bool passable(const QList<QByteArray>& arguments) { return unpassableCause(arguments).isEmpty(); }

pid_t waitFor(pid_t pid, int& status, int flags) {
    for (;;) {
        const pid_t result = ::waitpid(pid, &status, flags);
        if (result >= 0 || errno != EINTR) return result;
    }
}

}  // namespace

QString unpassableCause(const QList<QByteArray>& arguments) {
    // MAX_ARG_STRLEN of Linux: 32 pages, the terminating NUL included.
    constexpr qsizetype kernelLimit = 32 * 4096;
    for (const QByteArray& a : arguments) {
        if (a.contains('\0')) return QStringLiteral("ein Teil des Aufrufs enthält ein NUL-Zeichen");
        if (a.size() + 1 > kernelLimit)
            return QStringLiteral("ein Teil des Aufrufs ist mit %1 Bytes länger als 128 KiB").arg(a.size());
    }
    return {};
}

PosixProcessStarter::PosixProcessStarter(const FileSystem& files, QStringList editorCommand)
    : files_(files), editorCommand_(std::move(editorCommand)) {}

QStringList PosixProcessStarter::commandFor(const QString& dosProgram) const {
    if (isNotepad(dosProgram)) return editorCommand_;
    const QString program = files_.native(dosProgram);
    if (program.isEmpty()) return {};
    if (isExecutableFile(program)) return {program};
    if (dosProgram.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        const QString withoutExe = files_.native(dosProgram.chopped(4));
        if (isExecutableFile(withoutExe)) return {withoutExe};
    }
    return {};
}

// The editor gets a file to open, and a DOS path means nothing to a Linux editor: its
// arguments are resolved through the drive map (those that do not resolve stay as
// they are). All other programs get their arguments unchanged.
static QList<QByteArray> argumentsFor(const QString& dosProgram, const QList<QByteArray>& arguments,
                                      const FileSystem& files) {
    if (!isNotepad(dosProgram)) return arguments;
    QList<QByteArray> resolved;
    for (const QByteArray& argument : arguments) {
        const QString native = files.native(decode1252(argument));
        resolved.append(native.isEmpty() ? argument : QFile::encodeName(native));
    }
    return resolved;
}

bool PosixProcessStarter::startDetached(const QString& dosProgram, const QList<QByteArray>& arguments) {
    const QStringList command = commandFor(dosProgram);
    if (command.isEmpty() || !passable(arguments)) return false;
    const ChildImage image(command, argumentsFor(dosProgram, arguments, files_));
    ExecReport report;
    if (!report.valid()) return false;
    const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull < 0) return false;

    // Double fork: the middle child ends at once and is reaped here, the program runs
    // as a child of init (or the session's reaper), so it never stays a zombie of ours.
    const pid_t middle = ::fork();
    if (middle == 0) {
        const pid_t program = ::fork();
        if (program == 0) {
            ::setsid();
            ::dup2(devNull, STDIN_FILENO);
            ::dup2(devNull, STDOUT_FILENO);
            image.exec(report.fds[1]);
        }
        if (program < 0) {
            const int error = errno;
            [[maybe_unused]] ssize_t ignored = ::write(report.fds[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(devNull);
    if (middle < 0) return false;
    int status = 0;
    waitFor(middle, status, 0);
    return report.execSucceeded();
}

int PosixProcessStarter::runAndWait(const QString& dosProgram, const QList<QByteArray>& arguments,
                                    const std::function<void()>& whileWaiting) {
    const QStringList command = commandFor(dosProgram);
    if (command.isEmpty() || !passable(arguments)) return -1;
    const ChildImage image(command, argumentsFor(dosProgram, arguments, files_));
    ExecReport report;
    if (!report.valid()) return -1;

    const pid_t child = ::fork();
    if (child == 0) image.exec(report.fds[1]);
    if (child < 0) return -1;
    const bool started = report.execSucceeded();
    int status = 0;
    for (;;) {
        const pid_t ended = waitFor(child, status, WNOHANG);
        if (ended == child) break;
        if (ended < 0) return -1;
        if (whileWaiting) whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!started) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

namespace {

constexpr qsizetype kPipedOutputLimit = 8 * 1024;

void closeIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Writes what fits without blocking; SIGPIPE (the command stopped reading) is held back
// and swallowed, so only this write sees EPIPE. Returns false when the pipe is broken.
bool writeSome(int fd, const QByteArray& input, qsizetype& written) {
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const ssize_t n = ::write(fd, input.constData() + written, size_t(input.size() - written));
    const int error = errno;
    if (n < 0 && error == EPIPE) {
        const struct timespec none {};
        ::sigtimedwait(&pipeSignal, nullptr, &none);
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (n > 0) written += n;
    return n >= 0 || error == EAGAIN || error == EINTR;
}

void readSome(int& fd, QByteArray& output) {
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        output.append(buffer, std::min<qsizetype>(n, std::max<qsizetype>(0, kPipedOutputLimit - output.size())));
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        closeIfOpen(fd);
    }
}

}  // namespace

PipedRun runWithInput(const QStringList& command, const QByteArray& input, std::chrono::milliseconds timeLimit,
                      const std::function<void()>& whileWaiting) {
    using Steady = std::chrono::steady_clock;
    PipedRun run;
    if (command.isEmpty() || command.front().isEmpty()) {
        run.failure = QStringLiteral("kein Befehl angegeben");
        return run;
    }
    const Steady::time_point deadline = Steady::now() + timeLimit;
    const ChildImage image(command, {});
    ExecReport report;
    int toChild[2] = {-1, -1};
    int fromChild[2] = {-1, -1};
    if (!report.valid() || ::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) {
        run.failure = germanCause(errno);
        for (int* fd : {&toChild[0], &toChild[1], &fromChild[0], &fromChild[1]}) closeIfOpen(*fd);
        return run;
    }

    const pid_t child = ::fork();
    const int forkError = errno;
    if (child == 0) {
        ::setpgid(0, 0);
        ::dup2(toChild[0], STDIN_FILENO);
        ::dup2(fromChild[1], STDOUT_FILENO);
        ::dup2(fromChild[1], STDERR_FILENO);
        image.exec(report.fds[1]);
    }
    closeIfOpen(toChild[0]);
    closeIfOpen(fromChild[1]);
    if (child < 0) {
        closeIfOpen(toChild[1]);
        closeIfOpen(fromChild[0]);
        run.failure = germanCause(forkError);
        return run;
    }
    ::setpgid(child, child);  // also here, so the group exists whoever runs first
    run.started = report.execSucceeded();
    if (!run.started) {
        run.failure = germanCause(report.error);
        closeIfOpen(toChild[1]);
        closeIfOpen(fromChild[0]);
        int status = 0;
        waitFor(child, status, 0);
        return run;
    }

    ::fcntl(toChild[1], F_SETFL, O_NONBLOCK);
    ::fcntl(fromChild[0], F_SETFL, O_NONBLOCK);
    qsizetype written = 0;
    if (input.isEmpty()) closeIfOpen(toChild[1]);
    int status = 0;
    bool ended = false;
    while (!ended) {
        if (Steady::now() >= deadline) {
            run.timedOut = true;
            ::kill(-child, SIGKILL);
            ::kill(child, SIGKILL);
            waitFor(child, status, 0);
            break;
        }
        struct pollfd watched[2];
        nfds_t count = 0;
        if (fromChild[0] >= 0) watched[count++] = {fromChild[0], POLLIN, 0};
        if (toChild[1] >= 0) watched[count++] = {toChild[1], POLLOUT, 0};
        ::poll(watched, count, 20);
        for (nfds_t i = 0; i < count; ++i) {
            if (watched[i].revents == 0) continue;
            if (watched[i].fd == fromChild[0])
                readSome(fromChild[0], run.output);
            else if (!writeSome(toChild[1], input, written) || written == input.size())
                closeIfOpen(toChild[1]);
        }
        if (whileWaiting) whileWaiting();
        ended = waitFor(child, status, WNOHANG) == child;
    }
    closeIfOpen(toChild[1]);
    // What the command wrote before it ended; a helper it left behind keeps the pipe
    // open, so read only what is there now.
    while (fromChild[0] >= 0) {
        struct pollfd watched = {fromChild[0], POLLIN, 0};
        if (::poll(&watched, 1, 0) <= 0) break;
        readSome(fromChild[0], run.output);
    }
    closeIfOpen(fromChild[0]);
    if (WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.exitStatus = 128 + WTERMSIG(status);
    return run;
}

}  // namespace sendwerk
