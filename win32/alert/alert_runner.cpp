#include "win32/alert/alert_runner.h"

#include "win32/alert/alert_form.h"
#include "win32/common/modal_loop.h"

namespace qfd {

void RunAlertWindow(HWND owner, SettingsMirror& mirror, AlertSounds& sounds) {
    AlertForm form(owner, mirror, sounds);
    // The owner takes no input while its modal window is up; its tray messages still arrive.
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    form.Open();
    RunModalLoop([&form] { return form.Unloaded(); });
    // Ended from outside (a quit request): the window is unloaded in every case.
    form.UnloadWindow();
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
}

}  // namespace qfd
