#include <iostream>

#include "tools/qfdctl/commands.h"

namespace qfdctl {
namespace {

struct Usage {
    const char* command;
    const char* line;
};

constexpr Usage kUsages[] = {
    {"read", "qfdctl read FILE SECTION KEY [DEFAULT]"},
    {"write", "qfdctl write FILE SECTION KEY VALUE"},
    {"send",
     "qfdctl send [--from DIR] [--top TEXT] [--bottom TEXT] [--name NAME] [--delay SECONDS]"
     " [--wait SECONDS] DETECTOR_DIR..."},
    {"status",
     "qfdctl status [--from DIR] [--top TEXT] [--bottom TEXT] [--name NAME] DETECTOR_DIR"},
    {"autostart", "qfdctl autostart on|off|status [DIR]"},
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

  qfdctl send [--from DIR] [--top TEXT] [--bottom TEXT] [--name NAME] [--delay SECONDS]
              [--wait SECONDS] DETECTOR_DIR...
      Raises an alert on each QF Detect installation folder given, writing the same record as the
      tray menu's network commands. Texts, name and waiting time default to those of the
      installation in --from (its QFtext, Atext, myName, and its Delay when it sends its delay);
      without --from to "Quorf", "Alert", no name and no waiting. Texts and names are limited to
      254 bytes. A folder that cannot be written gets a one-line reason on stderr; the others are
      still served.
      --wait SECONDS  wait until every receiver has shown and closed the alert. A receiver
                      whose alert another sender's replaced before it was shown is named at once.
      Exit 0; 1 when a folder could not be written; 3 when --wait ran out or an alert was
      replaced (naming the folders).

  qfdctl status [--from DIR] [--top TEXT] [--bottom TEXT] [--name NAME] DETECTOR_DIR
      Prints "waiting" and the waiting record's keys (Delay, NetName, QFtext, Atext, Type) as
      key=value lines, or "none". With a record named as send would make it, prints what became
      of that record instead: "waiting", "seen" (shown and closed), "replaced" (another record
      took its place before it was shown) or "unknown" (the file holds no whole record). Exit 0,
      1 when the folder cannot be read.

  qfdctl autostart on|off|status [DIR]
      Makes the login start the program of the installation in DIR (a folder or its program
      file; without DIR the folder this qfdctl is in), stops that, or tells whether it does. The
      entry is a desktop file in $XDG_CONFIG_HOME/autostart (~/.config/autostart) on Linux, a
      value of HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run on Windows;
      nothing is added unless asked. on writes it, also again; off removes it, also a broken
      one. Each then prints the installation's state: "on", "off", "disabled" (the desktop or
      Task Manager turned the entry off) or "broken" (its program is gone), then entry=WHERE and
      program=PROGRAM of its entry, and other=STATE FOLDER for each other installation's. Exit 0;
      1 when on finds no program in DIR or a folder name no entry can hold, or when an entry
      could not be read, written or removed.

  qfdctl --help
      Shows this text.

Wrong usage exits with 2 and a usage line on stderr.
)";
}

}  // namespace qfdctl
