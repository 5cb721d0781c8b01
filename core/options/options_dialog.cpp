#include "core/options/options_dialog.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/alert/sound_ids.h"
#include "core/network/detector_list_editor.h"
#include "core/network/network_menus.h"
#include "core/options/control_index.h"
#include "core/options/options_texts.h"
#include "core/options/typed_number.h"
#include "core/settings/ini_access.h"
#include "core/settings/ini_path.h"
#include "core/settings/number_form.h"
#include "core/settings/text_encoding.h"

namespace qfd {
namespace {

// alertSound(i) stands for these values of "Sound".
constexpr std::array<const char*, 4> kSoundValues{"104", "101", "102", "103"};

int SoundButtonFor(std::int32_t soundId) {
    switch (soundId) {
        case kSoundNone:
            return 0;
        case kSoundDeedoodeedoo:
            return 2;
        case kSoundWeeooweeoo:
            return 3;
        default:
            return 1;
    }
}

// Sending carries the delay for any value but 0, so any other value selects that button.
std::int16_t NetDelayButtonFor(std::int16_t netDelay) { return netDelay != 0 ? 0 : 1; }

std::string Text(std::string_view text) { return std::string(text); }

}  // namespace

OptionsDialog::OptionsDialog(SettingsMirror& mirror, AlertSounds& sounds, OptionsView& view,
                             std::function<void()> refreshNetworkMenus)
    : mirror_(mirror),
      sounds_(sounds),
      view_(view),
      refreshNetworkMenus_(std::move(refreshNetworkMenus)) {}

void OptionsDialog::Form_Load() {
    // The colour chooser takes its starting colour on every call, so nothing to prepare for it.
    loading_ = true;
    ShowColours();
    view_.SetPreviewFill(colFill_[1]);
    view_.SetPreviewTextColour(colTxtFill_[1]);
    previewPhase_ = 1;

    view_.SetText(TextBox::txtMyName, mirror_.myName);
    txtMyName_Change();

    // The button of the sound an alert would play: a value that names no sound plays "Whoop".
    const int sound = SoundButtonFor(SoundIdFromSetting(mirror_.Sound));
    view_.SelectSound(sound);
    alertSound_Click(static_cast<std::int16_t>(sound));

    // Ticked exactly when the alert window would be small.
    if (mirror_.Small == 1) {
        view_.SetSmallTicked(true);
        chkSmall_Click();
    }

    view_.SetText(TextBox::txtAlertText1, mirror_.QFtext);
    txtAlertText1_Change();
    view_.SetText(TextBox::txtAlertText2, mirror_.Atext);
    txtAlertText2_Change();

    view_.SetText(TextBox::txtLatency, std::to_string(mirror_.Latency));
    txtLatency_Change();
    view_.SetText(TextBox::txtDelay, std::to_string(mirror_.Delay));
    txtDelay_Change();

    const std::int16_t netDelay = NetDelayButtonFor(mirror_.NetDelay);
    view_.SelectNetDelay(netDelay);
    optDelay_Click(netDelay);

    loading_ = false;
    view_.SetMainWindowIcon();
    FillNetworkList();
}

void OptionsDialog::Form_Unload() {
    if (previewTimerEnabled_) {
        previewTimerEnabled_ = false;
        view_.SetPreviewTimerEnabled(false);
    }
    if (refreshNetworkMenus_) refreshNetworkMenus_();
}

void OptionsDialog::WriteSetting(const SettingSpec& spec, std::string& value) {
    WriteIni(mirror_.IniPath, spec.section, spec.key, value);  // a failed write goes unnoticed
}

void OptionsDialog::WriteNumberSetting(const SettingSpec& spec, std::int64_t value) {
    std::string text = NumberForm(value);
    WriteSetting(spec, text);
}

void OptionsDialog::txtMyName_Change() {
    mirror_.myName = view_.Text(TextBox::txtMyName);
    WriteSetting(TextSetting("myName"), mirror_.myName);
}

void OptionsDialog::txtMyName_GotFocus() { view_.SelectAllText(TextBox::txtMyName); }

void OptionsDialog::NumberBoxChanged(TextBox box) {
    const std::string text = view_.Text(box);
    const std::string normal = NormaliseTypedNumber(text);
    // Setting the normalised text would run this handling once more; it would find the text
    // normal and store the same value, so that run is left out.
    if (normal != text) view_.SetText(box, normal);
    view_.PutCaretAtEnd(box);
    if (box == TextBox::txtDelay)
        SaveDelay();
    else
        SaveLatency();
}

void OptionsDialog::txtDelay_Change() { NumberBoxChanged(TextBox::txtDelay); }
void OptionsDialog::txtLatency_Change() { NumberBoxChanged(TextBox::txtLatency); }

void OptionsDialog::SaveDelay() {
    if (loading_) return;
    mirror_.Delay = WholeNumber16(LeadingNumber(view_.Text(TextBox::txtDelay)));
    WriteNumberSetting(Int16Setting("Delay"), mirror_.Delay);
}

void OptionsDialog::SaveLatency() {
    if (loading_) return;
    // The box keeps what was typed; only the stored interval is held at the minimum.
    const double value = LeadingNumber(view_.Text(TextBox::txtLatency));
    mirror_.Latency = value < kMinimumLatency ? kMinimumLatency : WholeNumber16(value);
    WriteNumberSetting(Int16Setting("Latency"), mirror_.Latency);
}

void OptionsDialog::StoreNetDelay(std::int16_t value) {
    mirror_.NetDelay = value;
    WriteNumberSetting(Int16Setting("NetDelay"), value);
}

void OptionsDialog::StoreSmall(std::int16_t value) {
    mirror_.Small = value;
    WriteNumberSetting(Int16Setting("Small"), value);
}

void OptionsDialog::StoreSound(const std::string& value) {
    mirror_.Sound = value;
    WriteSetting(TextSetting("Sound"), mirror_.Sound);
}

void OptionsDialog::optDelay_Click(std::int16_t index) {
    if (!ControlIndexInRange(index, 2) || loading_) return;
    StoreNetDelay(index == 0 ? 1 : 0);
}

void OptionsDialog::alertSound_Click(std::int16_t index) {
    if (!ControlIndexInRange(index, kSoundValues.size()) || loading_) return;
    StoreSound(kSoundValues[static_cast<std::size_t>(index)]);
}

void OptionsDialog::chkSmall_Click() {
    if (loading_) return;
    // What the box shows, not 1 - Small: a stray value in the file must not decide the outcome.
    StoreSmall(view_.SmallTicked() ? 1 : 0);
}

void OptionsDialog::cmdPlaySound_Click() {
    // The selection is stored at once, so this is the sound of the selected button.
    sounds_.PlayAlertSound(SoundIdFromSetting(mirror_.Sound), false);
}

void OptionsDialog::cmdDefaults_Click() {
    if (!view_.AskYesNo(Text(options_text::kDefaultsQuestion))) return;
    // Each default is stored whenever the setting differs, also when a stray value in the file
    // left the control already showing the default.
    constexpr std::int16_t small = DefaultInt16("Small");
    view_.SetSmallTicked(small == 1);
    if (mirror_.Small != small) StoreSmall(small);
    view_.SetText(TextBox::txtAlertText1, DefaultText("QFtext"));
    txtAlertText1_Change();
    view_.SetText(TextBox::txtAlertText2, DefaultText("Atext"));
    txtAlertText2_Change();
    constexpr std::int16_t netDelay = DefaultInt16("NetDelay");
    view_.SelectNetDelay(NetDelayButtonFor(netDelay));
    if (mirror_.NetDelay != netDelay) StoreNetDelay(netDelay);
    const std::string sound = DefaultText("Sound");
    view_.SelectSound(SoundButtonFor(SoundIdFromSetting(sound)));
    if (mirror_.Sound != sound) StoreSound(sound);
    view_.SetText(TextBox::txtDelay, Int16Setting("Delay").defaultText);
    txtDelay_Change();
    view_.SetText(TextBox::txtLatency, Int16Setting("Latency").defaultText);
    txtLatency_Change();
}

void OptionsDialog::cmdClose_Click() { view_.CloseWindow(); }

void OptionsDialog::ShowColours() {
    colTxtFill_[0] = static_cast<std::uint32_t>(mirror_.Colour3);
    colTxtFill_[1] = static_cast<std::uint32_t>(mirror_.Colour4);
    colFill_[0] = static_cast<std::uint32_t>(mirror_.Colour1);
    colFill_[1] = static_cast<std::uint32_t>(mirror_.Colour2);
    view_.SetSwatchColour(Swatch::shpColTxt, 0, colTxtFill_[0]);
    view_.SetSwatchColour(Swatch::shpColTxt, 1, colTxtFill_[1]);
    view_.SetSwatchColour(Swatch::shpCol, 0, colFill_[0]);
    view_.SetSwatchColour(Swatch::shpCol, 1, colFill_[1]);
}

void OptionsDialog::ChooseColour(const SettingSpec& spec, std::int32_t& mirrorColour,
                                 std::uint32_t swatchColour) {
    // A cancelled chooser hands back the colour it was given, which is then stored unchanged.
    const std::uint32_t chosen =
        view_.ChooseColour(swatchColour, Text(options_text::kColourChooserTitle));
    mirrorColour = static_cast<std::int32_t>(chosen);
    WriteNumberSetting(spec, mirrorColour);
    ShowColours();
}

void OptionsDialog::cmdCol_Click(std::int16_t index) {
    if (!ControlIndexInRange(index, 2)) return;
    if (index == 0) ChooseColour(Int32Setting("Colour1"), mirror_.Colour1, colFill_[0]);
    if (index == 1) ChooseColour(Int32Setting("Colour2"), mirror_.Colour2, colFill_[1]);
}

void OptionsDialog::cmdColTxt_Click(std::int16_t index) {
    if (!ControlIndexInRange(index, 2)) return;
    if (index == 0) ChooseColour(Int32Setting("Colour3"), mirror_.Colour3, colTxtFill_[0]);
    if (index == 1) ChooseColour(Int32Setting("Colour4"), mirror_.Colour4, colTxtFill_[1]);
}

void OptionsDialog::TogglePreview() {
    previewButtonVisible_ = !previewButtonVisible_;
    view_.SetPreviewButtonVisible(previewButtonVisible_);
    previewTimerEnabled_ = !previewTimerEnabled_;
    view_.SetPreviewTimerEnabled(previewTimerEnabled_);
    previewShapeVisible_ = !previewShapeVisible_;
    view_.SetPreviewShapeVisible(previewShapeVisible_);
    previewLabelVisible_ = !previewLabelVisible_;
    view_.SetPreviewLabelVisible(previewLabelVisible_);
}

void OptionsDialog::Timer1_Timer() {
    previewPhase_ = 1 - previewPhase_;
    const auto phase = static_cast<std::size_t>(previewPhase_);
    view_.SetPreviewFill(colFill_[phase]);
    view_.SetPreviewTextColour(colTxtFill_[phase]);
}

void OptionsDialog::txtAlertText1_Change() {
    const std::string text = view_.Text(TextBox::txtAlertText1);
    if (text != mirror_.QFtext) {
        mirror_.QFtext = text;
        WriteSetting(TextSetting("QFtext"), mirror_.QFtext);
        view_.SetToolTip(TextBox::txtAlertText1, mirror_.QFtext);
    }
    view_.SetPreviewCaption(text.empty() ? Text(options_text::kPreviewCaption) : text);
}

void OptionsDialog::txtAlertText1_GotFocus() { view_.SelectAllText(TextBox::txtAlertText1); }

void OptionsDialog::txtAlertText2_Change() {
    const std::string text = view_.Text(TextBox::txtAlertText2);
    if (text == mirror_.Atext) return;
    mirror_.Atext = text;
    WriteSetting(TextSetting("Atext"), mirror_.Atext);
    view_.SetToolTip(TextBox::txtAlertText2, mirror_.Atext);
}

void OptionsDialog::txtAlertText2_GotFocus() { view_.SelectAllText(TextBox::txtAlertText2); }

void OptionsDialog::FillNetworkList() {
    rows_ = ReadNetworkDetectorList(mirror_.IniPath);
    listShowsNone_ = rows_.empty();
    if (listShowsNone_) rows_.push_back(Text(options_text::kNoDetectorsRow));
    view_.ClearNetworkRows();
    for (const std::string& row : rows_) view_.AddNetworkRow(row);
}

void OptionsDialog::AddNetworkRow(const std::string& bytes) {
    if (listShowsNone_) {
        rows_[0] = bytes;
        listShowsNone_ = false;
        view_.SetNetworkRow(0, bytes);
        return;
    }
    rows_.push_back(bytes);
    view_.AddNetworkRow(bytes);
}

std::string OptionsDialog::OwnDetectorPath() const {
    // The settings file lies in the own program folder.
    return DetectorPathForProgramFile(mirror_.IniPath);
}

void OptionsDialog::cmdBrowse_Click() {
    const FileChooserRequest request{Text(options_text::kFileChooserTitle),
                                     Text(options_text::kFileFilterDescription),
                                     {std::begin(kProgramFileNames), std::end(kProgramFileNames)}};
    const std::string file = view_.ChooseFile(request);
    if (file.empty()) return;  // cancelled
    const std::string path = DetectorPathForProgramFile(file);
    if (path.empty()) return;

    if (path == OwnDetectorPath()) {
        view_.Refuse(Text(options_text::kAddSelfRefusal));
        return;
    }
    if (!listShowsNone_ && std::find(rows_.begin(), rows_.end(), path) != rows_.end()) {
        view_.Refuse(Text(options_text::kDuplicateRefusal));
        return;
    }

    // Only a stored detector gets a row: the list box must not show what the file lacks.
    const DetectorStoreOutcome outcome = StoreDetector(mirror_.IniPath, path);
    switch (outcome.result) {
        case DetectorStoreResult::Stored:
            AddNetworkRow(path);
            if (refreshNetworkMenus_) refreshNetworkMenus_();
            return;
        case DetectorStoreResult::ListFull:
            view_.Refuse(Text(options_text::kListFullRefusal));
            return;
        case DetectorStoreResult::PathTooLong:
            view_.Refuse(Text(options_text::kPathTooLongRefusal));
            return;
        case DetectorStoreResult::NotWritten:
            view_.Refuse(Text(options_text::kAddNotStoredPrefix) + outcome.write.Describe() +
                         Text(options_text::kAddNotStoredSuffix));
            return;
    }
}

void OptionsDialog::cmdRemove_Click() {
    const int index = view_.SelectedNetworkRow();
    std::string text;
    if (!listShowsNone_ && index >= 0 && index < static_cast<int>(rows_.size()))
        text = rows_[static_cast<std::size_t>(index)];
    if (text.empty()) {
        view_.Refuse(Text(options_text::kNothingToRemove));
        return;
    }
    if (!view_.AskYesNo(Text(options_text::kRemoveQuestionPrefix) + FileBytesToUtf8(text) +
                        Text(options_text::kRemoveQuestionSuffix)))
        return;

    const DetectorClearOutcome outcome = ClearDetector(mirror_.IniPath, text);
    FillNetworkList();
    if (refreshNetworkMenus_) refreshNetworkMenus_();
    if (outcome.slotsFailed > 0)
        view_.Refuse(Text(options_text::kRemoveNotStoredPrefix) + outcome.firstFailure.Describe() +
                     Text(options_text::kRemoveNotStoredSuffix));
}

}  // namespace qfd
