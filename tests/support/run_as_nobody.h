// Runs a piece of a test as an unprivileged user, so that file modes count: the superuser writes
// read-only files regardless.
#pragma once

#ifndef _WIN32
#include <grp.h>
#include <unistd.h>

#include "tests/support/forked_child.h"
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
    constexpr int kCannotSwitch = 125;
    ForkedChild child([&] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobodyId) != 0 || ::setuid(kNobodyId) != 0)
            return kCannotSwitch;
        return body();
    });
    const int exitCode = child.Wait();
    if (exitCode < 0 || exitCode == kCannotSwitch) return std::nullopt;
    return exitCode;
}

#endif

}  // namespace qfd::test
