#include "support/traced_child.h"

#include <csignal>
#include <cstdio>
#include <stdexcept>

#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sendwerk::testing {

TracedChild::TracedChild(const std::function<int()>& body) {
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        int code = 2;
        try {
            code = body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "traced child: %s\n", e.what());
        } catch (...) {}
        ::_exit(code);
    }
    int status = 0;
    if (::waitpid(pid_, &status, 0) != pid_ || !WIFSTOPPED(status))
        throw std::runtime_error("the traced child did not stop at its start");
    // The kernel kills the child when the test dies, so no child outlives a crash.
    ::ptrace(PTRACE_SETOPTIONS, pid_, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
}

TracedChild::~TracedChild() {
    if (!ended_) kill();
}

bool TracedChild::resume() {
    ::ptrace(PTRACE_SYSCALL, pid_, nullptr, reinterpret_cast<void*>(static_cast<long>(pendingSignal_)));
    pendingSignal_ = 0;
    int status = 0;
    if (::waitpid(pid_, &status, 0) != pid_) throw std::runtime_error("waitpid on the traced child failed");
    if (WIFEXITED(status) || WIFSIGNALED(status)) {
        ended_ = true;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return false;
    }
    if (WIFSTOPPED(status) && WSTOPSIG(status) != (SIGTRAP | 0x80)) pendingSignal_ = WSTOPSIG(status);
    return true;
}

bool TracedChild::stopAtCall(const std::set<long>& calls, int n) {
    while (!ended_) {
        if (!resume()) return false;
        if (pendingSignal_ != 0) continue;
        __ptrace_syscall_info info{};
        if (::ptrace(PTRACE_GET_SYSCALL_INFO, pid_, reinterpret_cast<void*>(sizeof info), &info) <= 0) continue;
        if (info.op != PTRACE_SYSCALL_INFO_ENTRY || calls.count(static_cast<long>(info.entry.nr)) == 0) continue;
        if (++counted_ == n) return true;
    }
    return false;
}

void TracedChild::kill() {
    if (ended_) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    ended_ = true;
    exitCode_ = -1;
}

int TracedChild::finish() {
    if (!ended_) ::ptrace(PTRACE_DETACH, pid_, nullptr, reinterpret_cast<void*>(static_cast<long>(pendingSignal_)));
    if (!ended_) {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ended_ = true;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return exitCode_;
}

std::set<long> fileChangingCalls() {
    return {SYS_write,  SYS_pwrite64, SYS_writev,   SYS_rename, SYS_renameat,  SYS_renameat2, SYS_link,
            SYS_linkat, SYS_unlink,   SYS_unlinkat, SYS_fsync,  SYS_fdatasync, SYS_ftruncate, SYS_fallocate};
}

}  // namespace sendwerk::testing
