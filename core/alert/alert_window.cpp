#include "core/alert/alert_window.h"

#include "core/alert/sound_ids.h"

namespace qfd {

namespace {

// Colours are stored as signed 32-bit numbers; the view takes the same bits as 0x00BBGGRR.
std::uint32_t AsColour(std::int32_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

AlertWindow::AlertWindow(SettingsMirror& mirror, AlertSounds& sounds, AlertView& view)
    : mirror_(mirror), sounds_(sounds), view_(view) {}

void AlertWindow::AddScreen(AlertView& view) { otherScreens_.push_back(&view); }

void AlertWindow::RemoveScreen(AlertView& view) { std::erase(otherScreens_, &view); }

void AlertWindow::Form_Load() {
    flashState_ = true;
    if (CoversEveryScreen()) {
        LayOut(view_, view_.ScreenSize(), kBigPoints);
        for (AlertView* other : otherScreens_) LayOut(*other, other->ScreenSize(), kBigPoints);
        for (AlertView* other : otherScreens_) other->MakeTopmost();
    } else {
        LayOut(view_, {kSmallWidth, kSmallHeight}, kSmallPoints);
    }
    view_.MakeTopmost();
    view_.EnableTimer1(kFlashIntervalMs);
}

void AlertWindow::LayOut(AlertView& view, TwipSize window, double points) {
    view.SetWindowSize(window);
    view.SetFontSize(AlertLabel::lblQuorf, points);
    view.SetFontSize(AlertLabel::lblAlert, points);
    view.SetFontSize(AlertLabel::lblMyName, kSenderPoints);

    view.SetCaption(AlertLabel::lblQuorf, mirror_.QFtext);
    view.SetCaption(AlertLabel::lblAlert, mirror_.Atext);

    const TwipSize quorf = view.LabelSize(AlertLabel::lblQuorf);
    const TwipSize alert = view.LabelSize(AlertLabel::lblAlert);
    view.SetLabelLeft(AlertLabel::lblQuorf, (window.width - quorf.width) / 2);
    view.SetLabelLeft(AlertLabel::lblAlert, (window.width - alert.width) / 2);

    // Three equal gaps: above the top text, between the texts and below the bottom text.
    const double gap = (window.height - quorf.height - alert.height) / 3;
    const double quorfTop = gap;
    view.SetLabelTop(AlertLabel::lblQuorf, quorfTop);
    view.SetLabelTop(AlertLabel::lblAlert, gap + quorfTop + quorf.height);

    view.SetCaption(AlertLabel::lblMyName, mirror_.SenderName);
    view.SetLabelTop(AlertLabel::lblMyName, kSenderTop);
    view.SetLabelLeft(AlertLabel::lblMyName,
                      (window.width - view.LabelSize(AlertLabel::lblMyName).width) / 2);
    ShowColours(view, mirror_.Colour2, mirror_.Colour4);
}

void AlertWindow::Timer1_Timer() {
    if (flashState_) {
        sounds_.PlayAlertSound(SoundIdFromSetting(mirror_.Sound), true);  // result unused
        ShowColours(mirror_.Colour1, mirror_.Colour3);
    } else {
        ShowColours(mirror_.Colour2, mirror_.Colour4);
    }
    flashState_ = !flashState_;
}

void AlertWindow::ShowColours(std::int32_t background, std::int32_t text) {
    ShowColours(view_, background, text);
    if (!CoversEveryScreen()) return;
    for (AlertView* other : otherScreens_) ShowColours(*other, background, text);
}

void AlertWindow::ShowColours(AlertView& view, std::int32_t background, std::int32_t text) {
    view.SetTextColour(AlertLabel::lblQuorf, AsColour(text));
    view.SetTextColour(AlertLabel::lblAlert, AsColour(text));
    view.SetBackColour(AsColour(background));
    view.SetTextColour(AlertLabel::lblMyName, AsColour(text));
}

void AlertWindow::Form_Click() { view_.UnloadWindow(); }

void AlertWindow::lblQuorf_Click() { view_.UnloadWindow(); }

void AlertWindow::lblAlert_Click() { view_.UnloadWindow(); }

void AlertWindow::Form_Unload() {
    mirror_.SenderName.clear();
    mirror_.QFtext = ReadTextSetting(mirror_.IniPath, TextSetting("QFtext"));
    mirror_.Atext = ReadTextSetting(mirror_.IniPath, TextSetting("Atext"));
    sounds_.PlayAlertSound(kSoundNone, false);  // stops whatever is still playing
}

}  // namespace qfd
