#include "core/network/receipt.h"

#include "core/settings/ini_access.h"
#include "core/settings/ini_snapshot.h"
#include "core/settings/settings_mirror.h"

namespace qfd {
namespace {

// A value as the receiver reads it back once it has been written: one line, cut to what a read
// returns.
std::string AsReadBack(const std::string& value) {
    return ReadIniFrom("[C]\r\nk=" + AsSingleLine(value) + "\r\n", "C", "k", "");
}

}  // namespace

Receipt ReadReceipt(const std::string& iniPath, const AlertRecord& sent) {
    const IniSnapshot file = IniSnapshot::Peek(iniPath);
    const char* s = sections::kCommands;
    if (!file.FileFound() || file.MayBeTorn(s, {"Type", "NetName", "QFtext", "Atext"})) {
        return Receipt::Unknown;
    }
    const bool ours = file.Read(s, "NetName", "") == AsReadBack(sent.NetName) &&
                      file.Read(s, "QFtext", "") == AsReadBack(sent.QFtext) &&
                      file.Read(s, "Atext", "") == AsReadBack(sent.Atext);
    if (!ours) return Receipt::Replaced;
    return file.Read(s, "Type", "0") == "0" ? Receipt::Seen : Receipt::Waiting;
}

}  // namespace qfd
