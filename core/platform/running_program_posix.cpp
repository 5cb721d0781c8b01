#include "core/platform/running_program.h"

#include <filesystem>
#include <system_error>

namespace qfd {

std::string RunningProgramFile() {
    std::error_code code;
    return std::filesystem::read_symlink("/proc/self/exe", code).string();
}

}  // namespace qfd
