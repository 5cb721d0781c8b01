#include "options/options_form.h"

#include <commctrl.h>

#include <vector>

#include "common/twips.h"
#include "options/shape_control.h"
#include "options/speaker_picture.h"

namespace qfd {
namespace {

constexpr const char* kWindowClass = "frmOptions";
constexpr const wchar_t* kWindowClassWide = L"frmOptions";
constexpr const wchar_t* kCaptionWide = L"Quorf Detect Options";
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

enum class Kind {
    Button,
    DefaultButton,
    PictureButton,
    Check,
    Radio,
    FirstRadio,
    Label,
    PrefixLabel,
    TipLabel,
    Edit,
    List,
    Shape,
    CaptionShape,
    Frame
};

struct ControlDesign {
    int id;
    Kind kind;
    const char* caption;
    double left, top, width, height;  // window-client twips
    const char* tip;
};

constexpr const char* kTextTip = "Edit this text to change the kind of alert to activate.";

// In tab order, which is also the stacking order: the frames come last, underneath everything.
const ControlDesign kControls[] = {
    {cmdClose, Kind::DefaultButton, "&Close", 6480, 6240, 1095, 375, nullptr},
    {lstNetwork, Kind::List, "", 240, 960, 4935, 2010,
     "All Network Detectors will be displayed here after being added."},
    {Label2, Kind::PrefixLabel, "&Delay (secs):", 5640, 1440, 975, 375, nullptr},
    {txtDelay, Kind::Edit, "", 6600, 1440, 615, 285, nullptr},
    {Label4, Kind::PrefixLabel, "&Latency (ms):", 5520, 3120, 975, 375, nullptr},
    {txtLatency, Kind::Edit, "", 6600, 3120, 855, 285, nullptr},
    {chkSmall, Kind::Check, "Small Alert", 480, 4080, 1215, 255,
     "If this box is ticked, the alert on your machine will appear smaller."},
    {Label6, Kind::TipLabel, "&Top text:", 240, 5040, 855, 255, kTextTip},
    {txtAlertText1, Kind::Edit, "x", 240, 5280, 1575, 285, kTextTip},
    {Label7, Kind::TipLabel, "B&ottom text:", 240, 5760, 975, 255, kTextTip},
    {txtAlertText2, Kind::Edit, "x", 240, 6000, 1575, 285, kTextTip},
    {cmdPlaySound, Kind::PictureButton, "", 3720, 5280, 375, 375,
     "Click this button to play the currently selected Alert Sound."},
    {Label1, Kind::Label,
     "This is the amount of time to wait before showing the alert when Delayed Alert is clicked.",
     5520, 480, 1935, 855, nullptr},
    {Label3, Kind::Label, "This is how often to check for a Network Quorf.", 5520, 2520, 1935, 615,
     nullptr},
    {Label5, Kind::Label,
     "You can specify a number of network detectors. Browse to the location of their QF Detect "
     "directory to add them.",
     240, 480, 4695, 495, nullptr},
    {cmdDefaults, Kind::Button, "Defaults...", 4320, 6240, 1095, 375,
     "Click here to return to the default settings."},
    {txtMyName, Kind::Edit, "x", 3000, 3240, 2175, 285,
     "The name displayed here will appear at the top of any network alerts you send."},
    {Label8, Kind::Label, "Your Name:", 3000, 3000, 1215, 255, nullptr},
    {cmdRemove, Kind::Button, "&Remove", 1560, 3120, 1095, 375,
     "Choose an existing Network Detector by clicking in the window above, then click this "
     "button to remove them."},
    {cmdBrowse, Kind::Button, "&Browse...", 240, 3120, 1095, 375,
     "Click the Browse... button to add a new Network Detector."},
    {alertSound3, Kind::FirstRadio, "Weeooweeoo", 2160, 6240, 1455, 255,
     "Select this option for a Weeooweeoo alert."},
    {alertSound2, Kind::Radio, "Deedoodeedoo", 2160, 5920, 1695, 255,
     "Select this option for a Deedoodeedoo alert."},
    {alertSound1, Kind::Radio, "Whoop", 2160, 5600, 1335, 255,
     "Select this option for a Whoop alert."},
    {alertSound0, Kind::Radio, "None", 2160, 5280, 1455, 255,
     "Select this option for a silent alert."},
    {cmdColTxt1, Kind::Button, "Text 2", 6000, 4080, 1215, 375, nullptr},
    {cmdCol1, Kind::Button, "Background 2", 6000, 4560, 1215, 375, nullptr},
    {cmdCol0, Kind::Button, "Background 1", 4440, 4560, 1215, 375, nullptr},
    {cmdColTxt0, Kind::Button, "Text 1", 4440, 4080, 1215, 375, nullptr},
    // The two network delay buttons form a set of their own, apart from the sounds.
    {optDelay1, Kind::FirstRadio, "&Instant network alert", 2160, 4440, 1935, 255, nullptr},
    {optDelay0, Kind::Radio, "&Use my delay settings", 2160, 4080, 1935, 255, nullptr},
    {lblPreview, Kind::CaptionShape, "Preview", 4320, 5475, 3255, 495, nullptr},
    {cmdPreview, Kind::Button, "&Preview Hues", 5160, 5520, 1575, 375, nullptr},
    {shpPreview, Kind::Shape, "", 4320, 5280, 3255, 855, nullptr},
    {shpColTxt0, Kind::Shape, "", 5760, 4080, 135, 375, nullptr},
    {shpColTxt1, Kind::Shape, "", 7320, 4080, 135, 375, nullptr},
    {shpCol0, Kind::Shape, "", 5760, 4560, 135, 375, nullptr},
    {shpCol1, Kind::Shape, "", 7320, 4560, 135, 375, nullptr},
    {Frame3, Kind::Frame, "Network Detectors", 120, 120, 5175, 3495, nullptr},
    {Frame1, Kind::Frame, "Alert Delay", 5400, 120, 2175, 1935, nullptr},
    {Frame2, Kind::Frame, "Latency", 5400, 2160, 2175, 1455, nullptr},
    {Frame6, Kind::Frame, "Alert Size", 120, 3720, 1815, 855, nullptr},
    {Frame8, Kind::Frame, "Network Delay", 2040, 3720, 2175, 1215, nullptr},
    {Frame5, Kind::Frame, "Alert Hues", 4320, 3720, 3255, 1455, nullptr},
    {Frame7, Kind::Frame, "Customise Text", 120, 4680, 1815, 1935, nullptr},
    {Frame4, Kind::Frame, "Alert Sound", 2040, 5040, 2175, 1575, nullptr},
};

struct WindowKind {
    const char* windowClass;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(Kind kind) {
    constexpr DWORD kStop = WS_TABSTOP | WS_GROUP;
    switch (kind) {
        case Kind::Button:
            return {"BUTTON", BS_PUSHBUTTON | kStop, 0};
        case Kind::DefaultButton:
            return {"BUTTON", BS_DEFPUSHBUTTON | kStop, 0};
        case Kind::PictureButton:
            return {"BUTTON", BS_PUSHBUTTON | BS_BITMAP | kStop, 0};
        case Kind::Check:
            return {"BUTTON", BS_AUTOCHECKBOX | kStop, 0};
        case Kind::FirstRadio:
            return {"BUTTON", BS_AUTORADIOBUTTON | kStop, 0};
        case Kind::Radio:
            return {"BUTTON", BS_AUTORADIOBUTTON, 0};
        case Kind::Label:
            return {"STATIC", SS_LEFT | SS_NOPREFIX | WS_GROUP, 0};
        case Kind::PrefixLabel:
            return {"STATIC", SS_LEFT | WS_GROUP, 0};
        case Kind::TipLabel:
            // SS_NOTIFY: a static without it lets the pointer through, and its tool tip with it.
            return {"STATIC", SS_LEFT | SS_NOTIFY | WS_GROUP, 0};
        case Kind::Edit:
            return {"EDIT", ES_LEFT | ES_AUTOHSCROLL | kStop, WS_EX_CLIENTEDGE};
        case Kind::List:
            return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | kStop,
                    WS_EX_CLIENTEDGE};
        case Kind::Frame:
            return {"BUTTON", BS_GROUPBOX | WS_GROUP, 0};
        case Kind::Shape:
        case Kind::CaptionShape:
            break;
    }
    return {nullptr, 0, 0};
}

// An in-memory dialog template naming the window class: no controls, no font; the size is set
// in pixels once the window exists. Templates hold UTF-16 strings and start DWORD-aligned.
std::vector<DWORD> DialogTemplate() {
    std::vector<WORD> words;
    const auto push32 = [&words](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    const auto pushText = [&words](const wchar_t* text) {
        for (; *text; ++text) words.push_back(static_cast<WORD>(*text));
        words.push_back(0);
    };
    push32(kDialogStyle);
    push32(0);                                       // extended style
    words.push_back(0);                              // no controls
    for (int i = 0; i < 4; ++i) words.push_back(0);  // x, y, cx, cy
    words.push_back(0);                              // no menu
    pushText(kWindowClassWide);
    pushText(kCaptionWide);
    std::vector<DWORD> aligned((words.size() + 1) / 2, 0);
    std::copy(words.begin(), words.end(), reinterpret_cast<WORD*>(aligned.data()));
    return aligned;
}

void RegisterDialogClass(HINSTANCE instance, HICON icon, HICON smallIcon) {
    WNDCLASSEXA type{};
    type.cbSize = sizeof type;
    // A dialog of its own class: the dialog manager's procedure and extra bytes.
    type.lpfnWndProc = DefDlgProcA;
    type.cbWndExtra = DLGWINDOWEXTRA;
    type.hInstance = instance;
    type.hIcon = icon;
    type.hIconSm = smallIcon;
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
    type.lpszClassName = kWindowClass;
    RegisterClassExA(&type);
}

}  // namespace

OptionsForm::OptionsForm(HICON icon, HICON smallIcon) : icon_(icon), smallIcon_(smallIcon) {
    RegisterDialogClass(GetModuleHandleA(nullptr), icon, smallIcon);
    font_ = CreateDesignFont({"MS Sans Serif", 8.25});
    previewFont_ = CreateDesignFont({"Arial", 20.25, true});
    speaker_ = CreateSpeakerPicture(ScreenDpi());
}

OptionsForm::~OptionsForm() {
    if (window_) DestroyWindow(window_);
    if (speaker_) DeleteObject(speaker_);
}

void OptionsForm::Run(HWND owner) {
    const std::vector<DWORD> dialog = DialogTemplate();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                            reinterpret_cast<LPCDLGTEMPLATEA>(dialog.data()), owner, DialogProc,
                            reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
}

INT_PTR CALLBACK OptionsForm::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<OptionsForm*>(lParam)->window_ = window;
    }
    auto* self = reinterpret_cast<OptionsForm*>(GetWindowLongPtrA(window, DWLP_USER));
    return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

void OptionsForm::CreateControls() {
    const int dpi = ScreenDpi();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    toolTips_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    // Long tips wrap instead of running across the screen.
    SendMessageA(toolTips_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(4500, dpi));

    for (const ControlDesign& design : kControls) {
        const PixelRect pixels =
            TwipsRect(design.left, design.top, design.width, design.height, dpi);
        const RECT rect{pixels.left, pixels.top, pixels.right(), pixels.bottom()};
        HWND control = nullptr;
        if (design.kind == Kind::Shape || design.kind == Kind::CaptionShape) {
            control = CreateShape(window_, design.id, rect, design.kind == Kind::CaptionShape);
            if (design.kind == Kind::CaptionShape) {
                SetShapeFont(control, previewFont_.get());
                SetShapeCaption(control, design.caption);
            }
            // The preview is hidden as designed; the swatches show.
            if (design.id == shpPreview || design.id == lblPreview) ShowWindow(control, SW_HIDE);
        } else {
            const WindowKind kind = KindOf(design.kind);
            control = CreateWindowExA(kind.exStyle, kind.windowClass, design.caption,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style,
                                      pixels.left, pixels.top, pixels.width, pixels.height, window_,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                                      instance, nullptr);
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        }
        if (design.tip) SetToolTip(design.id, design.tip);
    }
    SendMessageA(Control(cmdPlaySound), BM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(speaker_));
    SendMessageA(Control(txtMyName), EM_LIMITTEXT, 15, 0);
    SendMessageA(Control(txtAlertText1), EM_LIMITTEXT, 22, 0);
    SendMessageA(Control(txtAlertText2), EM_LIMITTEXT, 20, 0);
    // The number boxes take as much as an edit box can hold.
    SendMessageA(Control(txtDelay), EM_LIMITTEXT, 0, 0);
    SendMessageA(Control(txtLatency), EM_LIMITTEXT, 0, 0);
    // As designed: "&Instant network alert" and "Whoop" selected.
    CheckRadioButton(window_, optDelay0, optDelay1, optDelay1);
    CheckRadioButton(window_, alertSound0, alertSound3, alertSound1);
}

void OptionsForm::SetToolTip(int id, const std::string& ansiText) {
    HWND control = Control(id);
    if (!toolTips_ || !control) return;
    const bool known = tips_.count(id) != 0;
    std::string& text = tips_[id];
    text = ansiText;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    SendMessageA(toolTips_, known ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0,
                 reinterpret_cast<LPARAM>(&tool));
}

void OptionsForm::SetTextQuietly(int id, const std::string& ansiText) {
    settingText_ = true;
    SetDlgItemTextA(window_, id, ansiText.c_str());
    settingText_ = false;
}

void OptionsForm::Close() {
    if (window_) EndDialog(window_, 0);
}

void OptionsForm::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (presenter_) presenter_->Form_Unload();
}

INT_PTR OptionsForm::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            CreateControls();
            const int dpi = ScreenDpi();
            RECT frame{0, 0, TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi)};
            AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)),
                               FALSE, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
            const int width = frame.right - frame.left;
            const int height = frame.bottom - frame.top;
            SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowTextA(window_, "Quorf Detect Options");
            if (presenter_) presenter_->Form_Load();
            SendMessageA(window_, DM_SETDEFID, cmdClose, 0);
            // The lowest tab index that takes the focus.
            SetFocus(Control(cmdClose));
            return FALSE;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_TIMER:
            if (wParam == kPreviewTimerId && presenter_) presenter_->Timer1_Timer();
            return TRUE;
        case WM_DESTROY:
            Unload();
            return FALSE;
        default:
            return FALSE;
    }
}

void OptionsForm::OnCommand(int id, int code) {
    if (!presenter_) return;
    if (id == txtMyName || id == txtDelay || id == txtLatency || id == txtAlertText1 ||
        id == txtAlertText2) {
        if (code == EN_CHANGE && !settingText_) {
            if (id == txtMyName) presenter_->txtMyName_Change();
            if (id == txtDelay) presenter_->txtDelay_Change();
            if (id == txtLatency) presenter_->txtLatency_Change();
            if (id == txtAlertText1) presenter_->txtAlertText1_Change();
            if (id == txtAlertText2) presenter_->txtAlertText2_Change();
        } else if (code == EN_SETFOCUS) {
            if (id == txtMyName) presenter_->txtMyName_GotFocus();
            if (id == txtAlertText1) presenter_->txtAlertText1_GotFocus();
            if (id == txtAlertText2) presenter_->txtAlertText2_GotFocus();
        }
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case cmdClose:
        case IDCANCEL:
            presenter_->cmdClose_Click();
            break;
        case cmdBrowse:
            presenter_->cmdBrowse_Click();
            break;
        case cmdRemove:
            presenter_->cmdRemove_Click();
            break;
        case chkSmall:
            presenter_->chkSmall_Click();
            break;
        case optDelay0:
        case optDelay1:
            presenter_->optDelay_Click(static_cast<std::int16_t>(id - optDelay0));
            break;
        case cmdCol0:
        case cmdCol1:
            presenter_->cmdCol_Click(static_cast<std::int16_t>(id - cmdCol0));
            break;
        case cmdColTxt0:
        case cmdColTxt1:
            presenter_->cmdColTxt_Click(static_cast<std::int16_t>(id - cmdColTxt0));
            break;
        case alertSound0:
        case alertSound1:
        case alertSound2:
        case alertSound3:
            presenter_->alertSound_Click(static_cast<std::int16_t>(id - alertSound0));
            break;
        case cmdPlaySound:
            presenter_->cmdPlaySound_Click();
            break;
        case cmdPreview:
            presenter_->cmdPreview_Click();
            break;
        case lblPreview:
            presenter_->lblPreview_Click();
            break;
        case cmdDefaults:
            presenter_->cmdDefaults_Click();
            break;
        default:
            break;
    }
}

}  // namespace qfd
