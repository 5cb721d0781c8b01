#pragma once

#include <string>
#include <vector>

namespace qfd::test {

// What a finished child program left behind.
struct ChildRun {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs a program (looked up in PATH) with its arguments and waits for it.
ChildRun RunProgram(const std::vector<std::string>& argv);

}  // namespace qfd::test
