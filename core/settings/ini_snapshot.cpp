#include "settings/ini_snapshot.h"

#include <optional>

#include "settings/ini_access.h"
#include "settings/profile_store.h"

namespace qfd {

IniSnapshot IniSnapshot::Load(const std::string& file) {
    IniSnapshot snapshot;
    std::optional<std::string> bytes = ReadProfileFile(file);
    snapshot.fileFound_ = bytes.has_value();
    if (bytes) snapshot.bytes_ = std::move(*bytes);
    return snapshot;
}

std::string IniSnapshot::Read(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    return ReadIniFrom(bytes_, section, key, defaultValue);
}

}  // namespace qfd
