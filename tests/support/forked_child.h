// The one way the POSIX tests start and end helper processes: fork, run a function in the child,
// wait for it or kill it. The Windows tests start real programs instead (tests/win32).
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <utility>

namespace qfd::test {

// The exit code of a child whose function threw instead of returning.
inline constexpr int kChildThrew = 70;

// Forks a child that runs body and leaves with its result through _exit: it must never return
// into the test runner (which would go on running tests in the child), nor run destructors of
// the parent's objects (its copy of a ForkedChild would kill a sibling) or exit handlers. The
// child's pid; -1 when fork failed.
inline pid_t ForkRunning(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    int code = kChildThrew;
    try {
        code = body();
    } catch (...) {
    }
    ::_exit(code);
}

// How the child ended: its exit code, or -1 when a signal ended it or there is no such child of
// ours. Nothing when `block` is false and it still runs.
inline std::optional<int> ReapChild(pid_t pid, bool block) {
    if (pid <= 0) return -1;  // waitpid would take any child for these
    int status = 0;
    pid_t reaped;
    do {
        reaped = ::waitpid(pid, &status, block ? 0 : WNOHANG);
    } while (reaped < 0 && errno == EINTR);
    if (reaped == 0) return std::nullopt;
    if (reaped != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Ends the child with SIGKILL unless it has ended already, and reaps it; how it ended, as
// ReapChild tells.
inline int KillChild(pid_t pid) {
    if (pid <= 0) return -1;  // kill would hit a whole process group for these
    ::kill(pid, SIGKILL);
    return *ReapChild(pid, true);
}

// A child process running a function; killed and reaped at the latest when this goes, so that no
// child outlives a failed assertion.
class ForkedChild {
  public:
    explicit ForkedChild(const std::function<int()>& body)
        : pid_(ForkRunning(body)), started_(pid_ > 0) {}
    ForkedChild(ForkedChild&& other) noexcept
        : pid_(std::exchange(other.pid_, -1)),
          started_(other.started_),
          exitCode_(other.exitCode_) {}
    ForkedChild& operator=(ForkedChild&&) = delete;
    ~ForkedChild() { KillAndWait(); }

    bool Started() const { return started_; }

    // False once the child has ended; Wait() then returns at once.
    bool Running() { return !Reap(false); }

    // Blocks until the child ends: its exit code, -1 when a signal ended it or fork failed.
    int Wait() {
        Reap(true);
        return exitCode_;
    }

    // Ends the child with SIGKILL unless it has ended already; how it ended, as Wait().
    int KillAndWait() {
        if (pid_ > 0) {
            exitCode_ = KillChild(pid_);
            pid_ = -1;
        }
        return Wait();
    }

  private:
    // True once the child is reaped (or was never there); the pid is not used again after that,
    // since the system may hand it to another process.
    bool Reap(bool block) {
        if (pid_ <= 0) return true;
        const std::optional<int> exitCode = ReapChild(pid_, block);
        if (!exitCode) return false;
        exitCode_ = *exitCode;
        pid_ = -1;
        return true;
    }

    pid_t pid_;  // -1 once reaped
    bool started_;
    int exitCode_ = -1;
};

}  // namespace qfd::test
