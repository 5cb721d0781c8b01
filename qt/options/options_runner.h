#pragma once

#include <QWidget>
#include <functional>

#include "core/alert/alert_sounds.h"
#include "core/settings/settings_mirror.h"

namespace qfd {

// Shows frmOptions modally with owner as its owner and returns once it has been closed. Every
// edit is in mirror and in the file at mirror.IniPath by then. refreshNetworkMenus rebuilds the
// tray menu's network submenus from the settings file; it runs after each change of the detector
// list and when the dialog closes. sounds is the program's one AlertSounds.
void RunOptionsDialog(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds,
                      std::function<void()> refreshNetworkMenus);

}  // namespace qfd
