#include "core/alert/alert_window.h"

#include "core/alert/sound_ids.h"

namespace qfd {

namespace {

// Colours are stored as signed 32-bit numbers; the view takes the same bits as 0x00BBGGRR.
std::uint32_t AsColour(std::int32_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

AlertWindow::AlertWindow(SettingsMirror& mirror, AlertSounds& sounds, AlertView& view)
    : mirror_(mirror), sounds_(sounds), view_(view) {}

void AlertWindow::Form_Load() {
    flashState_ = true;

    TwipSize window;
    double points = kBigPoints;
    if (mirror_.Small == 1) {
        window = {kSmallWidth, kSmallHeight};
        points = kSmallPoints;
    } else {
        window = view_.ScreenSize();
    }
    view_.SetWindowSize(window);
    view_.SetFontSize(AlertLabel::lblQuorf, points);
    view_.SetFontSize(AlertLabel::lblAlert, points);
    view_.SetFontSize(AlertLabel::lblMyName, kSenderPoints);

    view_.SetCaption(AlertLabel::lblQuorf, mirror_.QFtext);
    view_.SetCaption(AlertLabel::lblAlert, mirror_.Atext);

    const TwipSize quorf = view_.LabelSize(AlertLabel::lblQuorf);
    const TwipSize alert = view_.LabelSize(AlertLabel::lblAlert);
    view_.SetLabelLeft(AlertLabel::lblQuorf, (window.width - quorf.width) / 2);
    view_.SetLabelLeft(AlertLabel::lblAlert, (window.width - alert.width) / 2);

    // Three equal gaps: above the top text, between the texts and below the bottom text.
    const double gap = (window.height - quorf.height - alert.height) / 3;
    const double quorfTop = gap;
    view_.SetLabelTop(AlertLabel::lblQuorf, quorfTop);
    view_.SetLabelTop(AlertLabel::lblAlert, gap + quorfTop + quorf.height);

    view_.SetTextColour(AlertLabel::lblQuorf, AsColour(mirror_.Colour4));
    view_.SetTextColour(AlertLabel::lblAlert, AsColour(mirror_.Colour4));
    view_.SetBackColour(AsColour(mirror_.Colour2));

    view_.SetCaption(AlertLabel::lblMyName, mirror_.SenderName);
    view_.SetLabelTop(AlertLabel::lblMyName, kSenderTop);
    view_.SetLabelLeft(AlertLabel::lblMyName,
                       (window.width - view_.LabelSize(AlertLabel::lblMyName).width) / 2);
    view_.SetTextColour(AlertLabel::lblMyName, AsColour(mirror_.Colour4));

    view_.MakeTopmost();
    view_.EnableTimer1(kFlashIntervalMs);
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
    view_.SetTextColour(AlertLabel::lblQuorf, AsColour(text));
    view_.SetTextColour(AlertLabel::lblAlert, AsColour(text));
    view_.SetBackColour(AsColour(background));
    view_.SetTextColour(AlertLabel::lblMyName, AsColour(text));
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
