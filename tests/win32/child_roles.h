#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace qfd::test {

// Plays one role of a cross-process test in a helper process; returns its exit code or never
// returns (the roles that hold something wait until the test ends them).
int RunChildRole(int argc, char** argv);

// This test program started again as a helper: "--child" and the role's arguments.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& roleArgs);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool started() const { return process_ != nullptr; }
    // The exit code, or -1 when it did not end within the timeout.
    int Wait(DWORD timeoutMs);
    bool Running() const;
    // Ends it the hard way, as a crash or the task manager would.
    void Kill();

  private:
    HANDLE process_ = nullptr;
};

// Waits (bounded) until a helper has written its answer to file; "" when none came.
std::string AwaitAnswer(const std::string& file);

}  // namespace qfd::test
