#include <iostream>

#include "core/settings/ini_access.h"
#include "tools/qfdctl/commands.h"

namespace qfdctl {

int RunRead(const Args& args) {
    if (args.size() < 3 || args.size() > 4) return UsageError("read");
    const std::string defaultValue = args.size() == 4 ? args[3] : std::string();
    std::cout << qfd::ReadIni(args[0], args[1], args[2], defaultValue) << '\n';
    return kExitOk;
}

int RunWrite(const Args& args) {
    if (args.size() != 4) return UsageError("write");
    std::string value = args[3];
    const qfd::WriteOutcome outcome = qfd::WriteIni(args[0], args[1], args[2], value);
    if (!outcome.Ok()) {
        std::cerr << "qfdctl: cannot write " << args[0] << ": " << outcome.Describe() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace qfdctl
