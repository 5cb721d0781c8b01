#pragma once

#include <windows.h>

#include "core/network/network_menus.h"

namespace qfd {

// The popup menu mPopUpSys: its fixed items and the two network item arrays, which grow and
// shrink with the Network Detector list. Chosen items arrive at the owner as WM_COMMAND with the
// ids of shell/menu_commands.h.
class TrayMenu {
  public:
    TrayMenu();
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;
    ~TrayMenu();

    void ShowNetworkMenus(const NetworkMenus& menus);
    // Opens the menu at the point (screen pixels) with no flags: it stays open until an item is
    // chosen or the user clicks elsewhere, and the chosen item is posted to the owner.
    void Popup(HWND owner, POINT at);

    HMENU Popup() const { return popup_; }
    HMENU Network() const { return network_; }
    HMENU AllBut() const { return allBut_; }

  private:
    HMENU bar_ = nullptr;  // holds mPopUpSys, which is never shown as a bar
    HMENU popup_ = nullptr;
    HMENU network_ = nullptr;
    HMENU allBut_ = nullptr;
};

}  // namespace qfd
