#pragma once

#include <string>
#include <vector>

namespace qfd {

// One item of the item arrays mAllButItem and mNetworkItem. The caption is a detector path exactly
// as stored (bytes); a view escapes it for display and hands the index back, never the display.
struct NetworkMenuItem {
    std::string caption;
    bool enabled = true;
    bool visible = true;
};

// What the tray menu's two network submenus show. Element k of both arrays stands for the k-th
// entry of the Network Detector list.
struct NetworkMenus {
    std::vector<NetworkMenuItem> allButItems;   // "&Send To All But..." submenu
    std::vector<NetworkMenuItem> networkItems;  // "&Network Alert", below the separator
};

inline constexpr int kDetectorSlotCount = 501;  // slots "Option 0" .. "Option 500"

// The menus for a list of detector paths, in list order.
NetworkMenus BuildNetworkMenus(const std::vector<std::string>& detectorPaths);

// The Network Detector list of the settings file: the non-empty slot values in slot order.
std::vector<std::string> ReadNetworkDetectorList(const std::string& iniPath);

// The menus for the detector list now in the settings file.
NetworkMenus RefreshNetworkMenus(const std::string& iniPath);

}  // namespace qfd
