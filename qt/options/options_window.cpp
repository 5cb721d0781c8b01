#include "qt/options/options_window.h"

#include <utility>

namespace qfd {

OptionsWindow::OptionsWindow(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds,
                             std::function<void()> refreshNetworkMenus)
    : form_(owner), view_(form_), dialog_(mirror, sounds, view_, std::move(refreshNetworkMenus)) {
    view_.SetPresenter(&dialog_);
}

void OptionsWindow::Load() {
    dialog_.Form_Load();
    form_.Centre();
    form_.cmdClose->setFocus();
}

}  // namespace qfd
