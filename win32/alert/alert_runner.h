#pragma once

#include <windows.h>

#include "alert/alert_sounds.h"
#include "settings/settings_mirror.h"

namespace qfd {

// Shows frmAlert modally, owned by owner, and returns once it has been closed and unloaded.
void RunAlertWindow(HWND owner, SettingsMirror& mirror, AlertSounds& sounds);

}  // namespace qfd
