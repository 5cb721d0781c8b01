// Runs a piece of a test as an unprivileged user, so that file modes count: the superuser writes
// read-only files regardless.
#pragma once

#ifndef _WIN32
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <functional>
#include <optional>

namespace qfd::test {

#ifdef _WIN32

// A read-only file refuses writes to every user on Windows, administrators included.
inline std::optional<int> RunUnprivileged(const std::function<int()>& body) { return body(); }

#else

inline constexpr uid_t kNobodyId = 65534;

// The exit code of body() run in a child process as "nobody" when this process is the superuser,
// or in this process otherwise; nothing when the child could not become "nobody".
inline std::optional<int> RunUnprivileged(const std::function<int()>& body) {
    if (::geteuid() != 0) return body();
    const pid_t pid = ::fork();
    if (pid < 0) return std::nullopt;
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobodyId) != 0 || ::setuid(kNobodyId) != 0)
            ::_exit(125);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return std::nullopt;
    if (WEXITSTATUS(status) == 125) return std::nullopt;
    return WEXITSTATUS(status);
}

#endif

}  // namespace qfd::test
