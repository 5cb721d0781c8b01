#include "win32/shell/application_directory.h"

namespace qfd {

std::string ApplicationDirectory(std::string_view programFile) {
    const std::size_t cut = programFile.find_last_of("\\/");
    if (cut == std::string_view::npos) return {};
    std::string directory(programFile.substr(0, cut));
    if (directory.size() == 2 && directory[1] == ':') directory += '\\';
    return directory;
}

}  // namespace qfd
