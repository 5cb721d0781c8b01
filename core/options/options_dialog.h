#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/alert/alert_sounds.h"
#include "core/options/options_view.h"
#include "core/settings/settings_mirror.h"

namespace qfd {

// The behaviour of frmOptions: every edit goes at once into the settings mirror and the own
// settings file; "&Close" only closes. One instance serves one opening of the window.
class OptionsDialog {
  public:
    // refreshNetworkMenus rebuilds the tray menu's network submenus from the settings file.
    OptionsDialog(SettingsMirror& mirror, AlertSounds& sounds, OptionsView& view,
                  std::function<void()> refreshNetworkMenus);

    void Form_Load();
    void Form_Unload();

    // Control events. Array handlers take the index of the control that raised the event.
    void txtMyName_Change();
    void txtMyName_GotFocus();
    void txtDelay_Change();
    void txtLatency_Change();
    void optDelay_Click(std::int16_t index);
    void alertSound_Click(std::int16_t index);
    void chkSmall_Click();
    void cmdPlaySound_Click();
    void cmdDefaults_Click();
    void cmdClose_Click();
    void cmdCol_Click(std::int16_t index);
    void cmdColTxt_Click(std::int16_t index);
    void cmdPreview_Click() { TogglePreview(); }
    void lblPreview_Click() { TogglePreview(); }
    void Timer1_Timer();
    void txtAlertText1_Change();
    void txtAlertText1_GotFocus();
    void txtAlertText2_Change();
    void txtAlertText2_GotFocus();
    void cmdBrowse_Click();
    void cmdRemove_Click();

    // Procedures of the window.
    void FillNetworkList();
    void SaveDelay();
    void SaveLatency();
    void ShowColours();
    void TogglePreview();

    bool Loading() const { return loading_; }
    int PreviewPhase() const { return previewPhase_; }
    bool PreviewRunning() const { return previewTimerEnabled_; }
    // The rows of lstNetwork as bytes, "(none)" included.
    const std::vector<std::string>& NetworkRows() const { return rows_; }

  private:
    void WriteSetting(const SettingSpec& spec, std::string& value);
    void WriteNumberSetting(const SettingSpec& spec, std::int64_t value);
    void StoreSmall(std::int16_t value);
    void StoreNetDelay(std::int16_t value);
    void StoreSound(const std::string& value);
    void NumberBoxChanged(TextBox box);
    void ChooseColour(const SettingSpec& spec, std::int32_t& mirrorColour,
                      std::uint32_t swatchColour);
    void AddNetworkRow(const std::string& bytes);
    std::string OwnDetectorPath() const;

    SettingsMirror& mirror_;
    AlertSounds& sounds_;
    OptionsView& view_;
    std::function<void()> refreshNetworkMenus_;

    bool loading_ = false;
    int previewPhase_ = 1;
    bool previewButtonVisible_ = true;
    bool previewTimerEnabled_ = false;
    bool previewShapeVisible_ = false;
    bool previewLabelVisible_ = false;
    // What the swatches show: [0] and [1] of shpCol and of shpColTxt.
    std::array<std::uint32_t, 2> colFill_{};
    std::array<std::uint32_t, 2> colTxtFill_{};
    // lstNetwork's rows as bytes; listShowsNone_ while its only row is the "(none)" placeholder.
    std::vector<std::string> rows_;
    bool listShowsNone_ = false;
};

}  // namespace qfd
