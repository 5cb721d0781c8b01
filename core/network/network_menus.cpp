#include "core/network/network_menus.h"

#include "core/settings/ini_access.h"
#include "core/settings/ini_text.h"
#include "core/settings/number_form.h"
#include "core/settings/profile_store.h"
#include "core/settings/settings_mirror.h"

namespace qfd {

NetworkMenus BuildNetworkMenus(const std::vector<std::string>& detectorPaths) {
    NetworkMenus menus;
    for (const std::string& path : detectorPaths) {
        menus.networkItems.push_back({path, true, true});
        menus.allButItems.push_back({path, true, true});
    }
    // Element 0 is never destroyed: below the separator it is hidden when the list is empty; in
    // "Send To All But..." one entry is no choice at all, so it stands disabled as "(none)".
    if (menus.networkItems.empty()) menus.networkItems.push_back({"(None)", true, false});
    if (menus.allButItems.size() <= 1) menus.allButItems = {{"(none)", false, true}};
    return menus;
}

std::vector<std::string> ReadNetworkDetectorList(const std::string& iniPath) {
    // Only this installation writes its "Network Settings", so one snapshot of the file answers
    // all 501 slots the same way 501 single reads would, at a fraction of the cost.
    std::vector<std::string> list;
    const std::optional<std::string> text = ReadProfileView(iniPath, LockWait::None).text;
    if (!text) return list;
    for (int slot = 0; slot < kDetectorSlotCount; ++slot) {
        const std::string key = "Option" + NumberForm(slot);
        const auto found = FindIniValue(*text, sections::kNetwork, key);
        // A hand-edited path longer than a read returns would be cut and name another folder:
        // it is no usable detector.
        if (!found || found->text.empty() || found->text.size() > kReadIniMaxBytes) continue;
        list.emplace_back(found->text);
    }
    return list;
}

NetworkMenus RefreshNetworkMenus(const std::string& iniPath) {
    return BuildNetworkMenus(ReadNetworkDetectorList(iniPath));
}

}  // namespace qfd
