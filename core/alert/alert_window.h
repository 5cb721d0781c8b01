#pragma once

#include <vector>

#include "core/alert/alert_sounds.h"
#include "core/alert/alert_view.h"
#include "core/settings/settings_mirror.h"

namespace qfd {

// The behaviour of frmAlert: layout, flashing, sound requests and the unload that puts the
// installation's own texts back. Everything it shows comes from the mirror when it loads.
class AlertWindow {
  public:
    static constexpr double kSmallWidth = 4500;  // twips: 300 x 250 pixels at 96 dpi
    static constexpr double kSmallHeight = 3750;
    static constexpr double kBigPoints = 72;
    static constexpr double kSmallPoints = 20;
    static constexpr double kSenderPoints = 12;
    static constexpr double kSenderTop = 120;  // twips: 8 pixels at 96 dpi
    static constexpr int kFlashIntervalMs = 500;

    // `view` is the window on the primary monitor, the one whose timer and clicks rule the alert.
    AlertWindow(SettingsMirror& mirror, AlertSounds& sounds, AlertView& view);

    // A full-size alert covers every monitor; a small one stays one window on the primary.
    bool CoversEveryScreen() const { return mirror_.Small != 1; }
    // The window on another monitor, added before Form_Load: laid out by the same rules for its
    // own screen's size, showing the same texts and flashing in step; a click on it closes the
    // alert. A small alert leaves it alone.
    void AddScreen(AlertView& view);
    // Before that window goes (its monitor was removed): nothing more is asked of it.
    void RemoveScreen(AlertView& view);

    void Form_Load();
    void Timer1_Timer();
    // The background and both big texts close the window; the sender line has no click handler.
    void Form_Click();
    void lblQuorf_Click();
    void lblAlert_Click();
    void Form_Unload();

    // Yes: the next tick shows the first colour pair and asks for the sound.
    bool FlashState() const { return flashState_; }

  private:
    void LayOut(AlertView& view, TwipSize window, double points);
    void ShowColours(std::int32_t background, std::int32_t text);
    void ShowColours(AlertView& view, std::int32_t background, std::int32_t text);

    SettingsMirror& mirror_;
    AlertSounds& sounds_;
    AlertView& view_;
    std::vector<AlertView*> otherScreens_;
    bool flashState_ = true;
};

}  // namespace qfd
