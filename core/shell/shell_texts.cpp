#include "core/shell/shell_texts.h"

namespace qfd {

std::string VersionText() {
    return "Version " + std::to_string(QFD_VERSION_MAJOR) + "." +
           std::to_string(QFD_VERSION_MINOR) + "." + std::to_string(QFD_VERSION_REVISION);
}

}  // namespace qfd
