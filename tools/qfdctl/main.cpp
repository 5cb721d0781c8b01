#include <map>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

#include "tools/qfdctl/commands.h"

int main(int argc, char** argv) {
    using namespace qfdctl;
#ifdef _WIN32
    // Values are printed as the bytes they are in the file: no CR added before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const Args all(argv + 1, argv + argc);
    if (all.empty()) return UsageError("");
    const std::string& command = all.front();
    if (command == "--help" || command == "-h" || command == "help") {
        PrintHelp();
        return kExitOk;
    }
    static const std::map<std::string, int (*)(const Args&)> kCommands = {
        {"read", RunRead},     {"write", RunWrite},         {"send", RunSend},
        {"status", RunStatus}, {"autostart", RunAutostart},
    };
    auto it = kCommands.find(command);
    if (it == kCommands.end()) return UsageError("");
    return it->second(Args(all.begin() + 1, all.end()));
}
