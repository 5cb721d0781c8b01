#include "qt/options/options_runner.h"

#include <utility>

#include "qt/options/options_window.h"

namespace qfd {

void RunOptionsDialog(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds,
                      std::function<void()> refreshNetworkMenus) {
    OptionsWindow window(owner, mirror, sounds, std::move(refreshNetworkMenus));
    window.Load();
    window.Form().exec();
}

}  // namespace qfd
