#pragma once

#include <QWidget>

#include "core/alert/alert_sounds.h"
#include "core/settings/settings_mirror.h"

namespace qfd {

// Shows frmAlert modally with owner as its owner and returns once it has been closed and unloaded:
// then mirror.SenderName is empty, mirror.QFtext and mirror.Atext hold the values of the file at
// mirror.IniPath (or "Quorf" and "Alert"), and no alert sound is playing. Everything shown is taken
// from the mirror when the window loads. sounds is the program's one AlertSounds.
void RunAlertWindow(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds);

}  // namespace qfd
