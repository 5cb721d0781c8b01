#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>

#include "core/options/options_dialog.h"
#include "core/options/options_form_design.h"
#include "win32/common/gdi.h"

namespace qfd {

// Control ids of frmOptions, taken from the design table: a control array's members get
// consecutive ids in the order of their indexes, so that an id less the first is the index and
// a set of option buttons is one id range. cmdClose, the default button, is the dialog's OK id,
// so that Enter reaches it; Esc and the title bar's close button come as IDCANCEL.
inline constexpr int kFirstOptionsControlId = 100;

// The first row of a control, or of any member of a control array.
constexpr int FirstOptionsRow(std::string_view name) {
    const auto& controls = design::kOptionsControls;
    for (std::size_t row = 0; row < std::size(controls); ++row) {
        if (controls[row].name == name) return static_cast<int>(row);
    }
    return -1;
}

constexpr int OptionsControlId(std::string_view name, int index = -1) {
    const int first = FirstOptionsRow(name);
    if (design::kOptionsControls[static_cast<std::size_t>(first)].isDefault) return IDOK;
    int id = kFirstOptionsControlId + (index < 0 ? 0 : index);
    for (const design::Control& control : design::kOptionsControls) {
        if (!control.isDefault && FirstOptionsRow(control.name) < first) ++id;
    }
    return id;
}

enum OptionsControl : int {
    cmdClose = OptionsControlId("cmdClose"),
    lstNetwork = OptionsControlId("lstNetwork"),
    cmdBrowse = OptionsControlId("cmdBrowse"),
    cmdRemove = OptionsControlId("cmdRemove"),
    txtMyName = OptionsControlId("txtMyName"),
    txtDelay = OptionsControlId("txtDelay"),
    txtLatency = OptionsControlId("txtLatency"),
    chkSmall = OptionsControlId("chkSmall"),
    optDelay0 = OptionsControlId("optDelay", 0),
    optDelay1 = optDelay0 + 1,
    cmdColTxt0 = OptionsControlId("cmdColTxt", 0),
    cmdColTxt1 = cmdColTxt0 + 1,
    cmdCol0 = OptionsControlId("cmdCol", 0),
    cmdCol1 = cmdCol0 + 1,
    shpColTxt0 = OptionsControlId("shpColTxt", 0),
    shpColTxt1 = shpColTxt0 + 1,
    shpCol0 = OptionsControlId("shpCol", 0),
    shpCol1 = shpCol0 + 1,
    txtAlertText1 = OptionsControlId("txtAlertText1"),
    txtAlertText2 = OptionsControlId("txtAlertText2"),
    alertSound0 = OptionsControlId("alertSound", 0),
    alertSound1 = alertSound0 + 1,
    alertSound2 = alertSound0 + 2,
    alertSound3 = alertSound0 + 3,
    cmdPlaySound = OptionsControlId("cmdPlaySound"),
    shpPreview = OptionsControlId("shpPreview"),
    lblPreview = OptionsControlId("lblPreview"),
    cmdPreview = OptionsControlId("cmdPreview"),
    cmdDefaults = OptionsControlId("cmdDefaults"),
};

// frmOptions' window: a dialog of its own window class, its controls placed in twips as designed
// (in tab order, which is also their stacking order, frames underneath), tool tips, and the
// routing of every control's events to the OptionsDialog behaviour.
class OptionsForm {
  public:
    static constexpr UINT_PTR kPreviewTimerId = 1;

    OptionsForm(HICON icon, HICON smallIcon);
    OptionsForm(const OptionsForm&) = delete;
    OptionsForm& operator=(const OptionsForm&) = delete;
    ~OptionsForm();

    void SetPresenter(OptionsDialog* presenter) { presenter_ = presenter; }
    // Shows the dialog modally over owner; returns when it has closed and unloaded.
    void Run(HWND owner);

    HWND Handle() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    HICON Icon() const { return icon_; }
    HICON SmallIcon() const { return smallIcon_; }

    // Sets a box's text without raising its change handling.
    void SetTextQuietly(int id, const std::string& ansiText);
    void SetToolTip(int id, const std::string& ansiText);
    void Close();

  private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void CreateControl(const design::Control& design, bool startsGroup, int dpi);
    void OnCommand(int id, int code);
    void Unload();

    OptionsDialog* presenter_ = nullptr;
    HICON icon_;
    HICON smallIcon_;
    HWND window_ = nullptr;
    HWND toolTips_ = nullptr;
    FontHandle font_;
    FontHandle previewFont_;
    HBITMAP speaker_ = nullptr;
    std::map<int, std::string> tips_;  // the tool tips' texts live as long as the window
    bool settingText_ = false;
    bool unloaded_ = false;
};

}  // namespace qfd
