#include "core/settings/ini_path.h"

namespace qfd {

std::string MakeIniPath(std::string_view programDirectory) {
    std::string path(programDirectory);
#ifndef _WIN32
    if (!path.empty() && path.back() == kPathSeparator) return path.append(kIniFileName);
#endif
    path.push_back(kPathSeparator);
    return path.append(kIniFileName);
}

}  // namespace qfd
