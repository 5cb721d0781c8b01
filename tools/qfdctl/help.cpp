#include <iostream>

#include "commands.h"

namespace qfdctl {
namespace {

struct Usage {
    const char* command;
    const char* line;
};

constexpr Usage kUsages[] = {
    {"read", "qfdctl read FILE SECTION KEY [DEFAULT]"},
    {"write", "qfdctl write FILE SECTION KEY VALUE"},
};

}  // namespace

int UsageError(const std::string& command) {
    for (const Usage& u : kUsages) {
        if (command.empty() || command == u.command) std::cerr << "usage: " << u.line << '\n';
    }
    if (command.empty()) std::cerr << "Try 'qfdctl --help'.\n";
    return kExitUsage;
}

void PrintHelp() {
    std::cout << R"(qfdctl - the command line of QF Detect

Reads and writes QF Detect settings files (qfd.ini) with the same rules as the program, so that
scripts and other installations see exactly what the program sees.

  qfdctl read FILE SECTION KEY [DEFAULT]
      Prints the value of KEY in SECTION of FILE and a newline, or DEFAULT (empty if not given)
      when the file, section or key is missing. At most 254 bytes, as the program reads them.
      Exit 0.

  qfdctl write FILE SECTION KEY VALUE
      Stores VALUE under KEY in SECTION of FILE, creating the file or section when missing; line
      breaks in VALUE are stored as blanks. Exit 0, or 1 with the reason on stderr when the file
      could not be written (missing folder, read-only file, not a regular file, value too long).

  qfdctl --help
      Shows this text.

Wrong usage exits with 2 and a usage line on stderr.
)";
}

}  // namespace qfdctl
