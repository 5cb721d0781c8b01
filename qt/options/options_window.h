#pragma once

#include <QWidget>
#include <functional>

#include "core/alert/alert_sounds.h"
#include "core/options/options_dialog.h"
#include "core/settings/settings_mirror.h"
#include "qt/options/options_form.h"
#include "qt/options/qt_options_view.h"

namespace qfd {

// One opening of frmOptions: the window, its view and its behaviour, wired together. Load() runs
// the opening sequence; showing it is the caller's (modally in the program, as tests like it).
// Form_Unload runs when the window closes, whichever way it is closed.
class OptionsWindow {
  public:
    OptionsWindow(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds,
                  std::function<void()> refreshNetworkMenus);

    // Fills the controls, centres the window and puts the focus on "&Close".
    void Load();

    OptionsForm& Form() { return form_; }
    OptionsDialog& Dialog() { return dialog_; }

  private:
    OptionsForm form_;
    QtOptionsView view_;
    OptionsDialog dialog_;
};

}  // namespace qfd
