#pragma once

#include <string>
#include <string_view>

namespace qfd {

// The folder that holds the program file, as the program names it: the full name without its
// last part and without a trailing backslash, except at a drive's root, which keeps its
// backslash ("C:\"), as a bare "C:" would mean the drive's current folder instead.
std::string ApplicationDirectory(std::string_view programFile);

}  // namespace qfd
