#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "common/gdi.h"
#include "options/options_dialog.h"

namespace qfd {

// Control ids of frmOptions. cmdClose is the dialog's OK id, so that Enter reaches it as the
// default button; Esc and the title bar's close button come as IDCANCEL.
enum OptionsControl : int {
    cmdClose = IDOK,
    lstNetwork = 100,
    cmdBrowse,
    cmdRemove,
    Label5,
    Label8,
    txtMyName,
    Label1,
    Label2,
    txtDelay,
    Label3,
    Label4,
    txtLatency,
    chkSmall,
    optDelay0,
    optDelay1,
    cmdColTxt0,
    cmdColTxt1,
    cmdCol0,
    cmdCol1,
    shpColTxt0,
    shpColTxt1,
    shpCol0,
    shpCol1,
    Label6,
    txtAlertText1,
    Label7,
    txtAlertText2,
    alertSound0,
    alertSound1,
    alertSound2,
    alertSound3,
    cmdPlaySound,
    shpPreview,
    lblPreview,
    cmdPreview,
    cmdDefaults,
    Frame1,
    Frame2,
    Frame3,
    Frame4,
    Frame5,
    Frame6,
    Frame7,
    Frame8,
};

// frmOptions' window: a dialog of its own window class, its controls placed in twips as designed
// (in tab order, which is also their stacking order, frames underneath), tool tips, and the
// routing of every control's events to the OptionsDialog behaviour.
class OptionsForm {
  public:
    static constexpr double kClientWidth = 7695;  // twips
    static constexpr double kClientHeight = 6720;
    static constexpr UINT_PTR kPreviewTimerId = 1;

    OptionsForm(HICON icon, HICON smallIcon);
    OptionsForm(const OptionsForm&) = delete;
    OptionsForm& operator=(const OptionsForm&) = delete;
    ~OptionsForm();

    void SetPresenter(OptionsDialog* presenter) { presenter_ = presenter; }
    // Shows the dialog modally over owner; returns when it has closed and unloaded.
    void Run(HWND owner);

    HWND hwnd() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    HICON icon() const { return icon_; }
    HICON smallIcon() const { return smallIcon_; }

    // Sets a box's text without raising its change handling.
    void SetTextQuietly(int id, const std::string& ansiText);
    void SetToolTip(int id, const std::string& ansiText);
    void Close();

  private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
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
