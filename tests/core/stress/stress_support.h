// Shared by the stress tests: child processes, a pipe they report through, and a check that a
// settings file as it lies on disk is whole.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/settings/profile_store.h"
#include "tests/support/forked_child.h"

namespace qfd::test {

// Runs body in a child process that ends with body's result; the child's pid.
inline pid_t Spawn(const std::function<int()>& body) { return ForkRunning(body); }

// The exit code once the child has ended, or nothing yet.
inline bool Ended(pid_t pid, int& exitCode) {
    const std::optional<int> ended = ReapChild(pid, false);
    if (ended) exitCode = *ended;
    return ended.has_value();
}

// Waits up to the bound for the child; kills it when it is still running then. Its exit code,
// -1 when it was killed or ended by a signal.
inline int WaitBounded(pid_t pid, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    int exitCode = -1;
    while (!Ended(pid, exitCode)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            KillChild(pid);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return exitCode;
}

// Lines sent by children to the parent. Lines shorter than the pipe's atomic size never mix, so
// many children can share one pipe.
class ReportPipe {
  public:
    ReportPipe() {
        if (::pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
        if (fds_[0] >= 0) ::fcntl(fds_[0], F_SETFL, O_NONBLOCK);
    }
    ReportPipe(const ReportPipe&) = delete;
    ReportPipe& operator=(const ReportPipe&) = delete;
    ~ReportPipe() {
        for (int fd : fds_) {
            if (fd >= 0) ::close(fd);
        }
    }

    bool valid() const { return fds_[0] >= 0; }

    // In a child: one whole line, written with one call.
    void Send(std::string line) const {
        line += '\n';
        const char* p = line.data();
        std::size_t left = line.size();
        while (left > 0) {
            const ssize_t n = ::write(fds_[1], p, left);
            if (n < 0) return;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }

    // In the parent: the lines that have arrived so far, whole lines only.
    std::vector<std::string> Drain() {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fds_[0], buffer, sizeof buffer);
            if (n <= 0) break;
            partial_.append(buffer, static_cast<std::size_t>(n));
        }
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos;
             start = end + 1) {
            lines.push_back(partial_.substr(start, end - start));
        }
        partial_.erase(0, start);
        return lines;
    }

  private:
    int fds_[2] = {-1, -1};
    std::string partial_;
};

// Why the bytes are not a whole settings file as the store writes it, or "" when they are: every
// line ends with CRLF and is a section header, a comment or a key with '=', no section appears
// twice and no key twice in its section, and the sections named in `required` are there.
inline std::string IniProblem(std::string_view bytes, const std::vector<std::string>& required) {
    if (bytes.empty()) return "empty file";
    if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n") return "last line cut off";
    std::set<std::string> sections;
    std::set<std::string> keys;
    std::string section;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        const std::string_view line = bytes.substr(start, end - start);
        start = end + 2;
        if (line.find('\n') != std::string_view::npos || line.find('\r') != std::string_view::npos)
            return "stray line break in: " + std::string(line.substr(0, 60));
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return "broken header: " + std::string(line.substr(0, 60));
            section = std::string(line.substr(1, line.size() - 2));
            if (!sections.insert(section).second) return "section twice: " + section;
            keys.clear();
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return "line without '=': " + std::string(line.substr(0, 60));
        if (section.empty()) return "key before any section";
        if (!keys.insert(std::string(line.substr(0, eq))).second)
            return "key twice in [" + section + "]: " + std::string(line.substr(0, eq));
    }
    for (const std::string& s : required) {
        if (!sections.count(s)) return "section missing: " + s;
    }
    return "";
}

// Runs the call and keeps in `longest` the longest time a call took: how long lock waits get
// under load, which the store's patience must stay well above.
template <typename Call>
auto Timed(std::chrono::milliseconds& longest, Call call) {
    struct Measure {
        std::chrono::milliseconds& longest;
        std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
        ~Measure() {
            longest = std::max(longest, std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - start));
        }
    } measure{longest};
    return call();
}

// The store's two ways of replacing a settings file.
enum class WritePath { Rename, InPlace };

// Makes the store rewrite the file in place, as it does with a file that has a second name (a
// rename would part the names), belongs to another user or sits on a share that keeps no modes.
inline bool ForceRewriteInPlace(const std::string& ini) {
    return ::link(ini.c_str(), (ini + ".second-name").c_str()) == 0;
}

inline std::string WritePathName(WritePath path) {
    return path == WritePath::Rename ? "Rename" : "InPlace";
}

// A seed for the random moments of a run: QFD_STRESS_SEED when set, so that a failing run can be
// repeated, else a fresh one (the tests print it).
inline std::uint32_t StressSeed() {
    if (const char* fixed = std::getenv("QFD_STRESS_SEED")) {
        return static_cast<std::uint32_t>(std::strtoul(fixed, nullptr, 10));
    }
    return std::random_device{}();
}

}  // namespace qfd::test
