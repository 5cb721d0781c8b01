#pragma once

#include <string>

namespace qfd {

// The full path of the program file this process runs, links resolved on Linux; empty when the
// system does not tell.
std::string RunningProgramFile();

}  // namespace qfd
