#include "win32/options/options_runner.h"

#include <utility>

#include "core/options/options_dialog.h"
#include "win32/options/options_form.h"
#include "win32/options/win32_options_view.h"

namespace qfd {

void RunOptionsDialog(HWND owner, HICON icon, HICON smallIcon, SettingsMirror& mirror,
                      AlertSounds& sounds, std::function<void()> refreshNetworkMenus) {
    OptionsForm form(icon, smallIcon);
    Win32OptionsView view(form);
    OptionsDialog dialog(mirror, sounds, view, std::move(refreshNetworkMenus));
    form.SetPresenter(&dialog);
    form.Run(owner);
}

}  // namespace qfd
