#pragma once

#include <windows.h>

#include "core/alert/alert_sounds.h"
#include "core/settings/settings_mirror.h"

namespace qfd {

// Shows frmAlert modally, owned by owner, and returns once it has been closed and unloaded.
void RunAlertWindow(HWND owner, SettingsMirror& mirror, AlertSounds& sounds);

}  // namespace qfd
