#pragma once

#include <windows.h>

#include <functional>

#include "core/alert/alert_sounds.h"
#include "core/settings/settings_mirror.h"

namespace qfd {

// Shows frmOptions modally, owned by owner, with the main window's icons, and returns once it has
// closed. refreshNetworkMenus rebuilds the tray menu's network submenus.
void RunOptionsDialog(HWND owner, HICON icon, HICON smallIcon, SettingsMirror& mirror,
                      AlertSounds& sounds, std::function<void()> refreshNetworkMenus);

}  // namespace qfd
