#pragma once

#include <QWidget>

#include "alert/alert_sounds.h"
#include "settings/settings_mirror.h"

namespace qfd {

// Shows frmOptions modally with owner as its owner and returns once it has been closed.
void RunOptionsDialog(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds);

}  // namespace qfd
