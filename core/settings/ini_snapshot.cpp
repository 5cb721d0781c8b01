#include "core/settings/ini_snapshot.h"

#include <optional>

#include "core/settings/ini_access.h"
#include "core/settings/ini_text.h"

namespace qfd {

IniSnapshot IniSnapshot::FromView(ProfileView view) {
    IniSnapshot snapshot;
    snapshot.fileFound_ = view.text.has_value();
    if (view.text) snapshot.bytes_ = std::move(*view.text);
    snapshot.locked_ = view.locked;
    snapshot.journalPresent_ = view.journalPresent;
    return snapshot;
}

IniSnapshot IniSnapshot::Load(const std::string& file, LockWait wait) {
    return FromView(ReadProfileView(file, wait));
}

IniSnapshot IniSnapshot::Peek(const std::string& file) { return FromView(PeekProfileView(file)); }

bool IniSnapshot::MayBeTorn(std::string_view section,
                            std::initializer_list<std::string_view> keys) const {
    if (locked_) return false;
    if (journalPresent_) return true;
    if (!bytes_.empty() && bytes_.back() != '\n' && bytes_.back() != '\r') return true;
    for (std::string_view key : keys) {
        if (!FindIniValue(bytes_, section, key)) return true;
    }
    return false;
}

std::string IniSnapshot::Read(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    return ReadIniFrom(bytes_, section, key, defaultValue);
}

}  // namespace qfd
