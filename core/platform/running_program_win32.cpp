#include "core/platform/running_program.h"

#include <windows.h>

namespace qfd {

std::string RunningProgramFile() {
    // Long paths exist; grow the buffer until the name fits.
    std::string name(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        if (name.size() >= 32768) return {};
        name.resize(name.size() * 2);
    }
}

}  // namespace qfd
