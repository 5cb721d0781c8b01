#include "tests/support/child_process.h"

#include <poll.h>
#include <unistd.h>

#include "tests/support/forked_child.h"

namespace qfd::test {

ChildRun RunProgram(const std::vector<std::string>& argv) {
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return {};
    // execvp wants writable strings; made before the fork so that the child only execs.
    std::vector<std::string> args = argv;
    std::vector<char*> raw;
    for (std::string& a : args) raw.push_back(a.data());
    raw.push_back(nullptr);
    ForkedChild child([&] {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::close(out[0]);
        ::close(err[0]);
        ::execvp(raw[0], raw.data());
        return 127;
    });
    ::close(out[1]);
    ::close(err[1]);
    ChildRun run;
    // Drain both pipes together so a chatty child never blocks on a full one.
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    for (int open = 2; open > 0;) {
        ::poll(fds, 2, -1);
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    run.exitCode = child.Wait();
    return run;
}

}  // namespace qfd::test
