#include "win32/options/options_form.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "win32/common/twips.h"
#include "win32/options/shape_control.h"
#include "win32/options/speaker_picture.h"

namespace qfd {
namespace {

using design::Kind;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

FontSpec SpecOf(const design::Font& font) { return {font.name, font.points, font.bold}; }

struct WindowKind {
    const char* windowClass;
    DWORD style;
    DWORD exStyle;
};

DWORD LabelStyle(const design::Control& design) {
    DWORD style = SS_LEFT | WS_GROUP;
    if (!std::strchr(design.caption, '&')) style |= SS_NOPREFIX;
    // SS_NOTIFY: a static without it lets the pointer through, and its tool tip with it.
    if (design.tip) style |= SS_NOTIFY;
    return style;
}

// A set of option buttons starts with the first of them in tab order, which is creation order.
WindowKind KindOf(const design::Control& design, bool startsGroup) {
    constexpr DWORD kStop = WS_TABSTOP | WS_GROUP;
    switch (design.kind) {
        case Kind::CommandButton:
            return {"BUTTON",
                    (design.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                        (design.graphical ? BS_BITMAP : 0) | kStop,
                    0};
        case Kind::CheckBox:
            return {"BUTTON", BS_AUTOCHECKBOX | kStop, 0};
        case Kind::OptionButton:
            return {"BUTTON", BS_AUTORADIOBUTTON | (startsGroup ? kStop : 0), 0};
        case Kind::Label:
            return {"STATIC", LabelStyle(design), 0};
        case Kind::TextBox:
            return {"EDIT", ES_LEFT | ES_AUTOHSCROLL | kStop, WS_EX_CLIENTEDGE};
        case Kind::ListBox:
            return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | kStop,
                    WS_EX_CLIENTEDGE};
        case Kind::Frame:
            return {"BUTTON", BS_GROUPBOX | WS_GROUP, 0};
        case Kind::PictureBox:
        case Kind::Image:
        case Kind::Shape:
            break;
    }
    return {nullptr, 0, 0};
}

// Shapes, and the label drawn over the preview shape, are painted by the shape control.
bool IsShape(const design::Control& design) {
    return design.kind == Kind::Shape || (design.kind == Kind::Label && design.transparent);
}

// An in-memory dialog template naming the window class: no controls, no font; the size is set
// in pixels once the window exists. Templates hold UTF-16 strings and start DWORD-aligned.
std::vector<DWORD> DialogTemplate() {
    std::vector<WORD> words;
    const auto push32 = [&words](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    const auto pushText = [&words](const char* ascii) {
        for (; *ascii; ++ascii) words.push_back(static_cast<WORD>(*ascii));
        words.push_back(0);
    };
    push32(kDialogStyle);
    push32(0);                                       // extended style
    words.push_back(0);                              // no controls
    for (int i = 0; i < 4; ++i) words.push_back(0);  // x, y, cx, cy
    words.push_back(0);                              // no menu
    pushText(design::kOptionsForm.name);
    pushText(design::kOptionsForm.caption);
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
    type.lpszClassName = design::kOptionsForm.name;
    RegisterClassExA(&type);
}

}  // namespace

OptionsForm::OptionsForm(HICON icon, HICON smallIcon) : icon_(icon), smallIcon_(smallIcon) {
    RegisterDialogClass(GetModuleHandleA(nullptr), icon, smallIcon);
    font_ = CreateDesignFont(SpecOf(design::kOptionsForm.font));
    previewFont_ = CreateDesignFont(SpecOf(design::kOptionsPreviewFont));
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

    bool afterOption = false;
    for (const design::Control& design : design::kOptionsControls) {
        // The picture box only holds its option buttons apart; their group style does that here.
        if (design.kind == Kind::PictureBox) continue;
        CreateControl(design, !afterOption, dpi);
        afterOption = design.kind == Kind::OptionButton;
    }
}

void OptionsForm::CreateControl(const design::Control& design, bool startsGroup, int dpi) {
    const design::Rect& r = design.rect;
    const PixelRect pixels = TwipsRect(r.left, r.top, r.width, r.height, dpi);
    const int id = OptionsControlId(design.name, design.index);
    // The preview's caption is the one control with a font of its own.
    HFONT font = design.font ? previewFont_.get() : font_.get();
    HWND control = nullptr;
    if (IsShape(design)) {
        const RECT rect{pixels.left, pixels.top, pixels.Right(), pixels.Bottom()};
        control = CreateShape(window_, id, rect, design.kind == Kind::Label);
        if (design.kind == Kind::Label) {
            SetShapeFont(control, font);
            SetShapeCaption(control, design.caption);
        }
    } else {
        const WindowKind kind = KindOf(design, startsGroup);
        control = CreateWindowExA(kind.exStyle, kind.windowClass, design.caption,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, pixels.left,
                                  pixels.top, pixels.width, pixels.height, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (!design.visible) ShowWindow(control, SW_HIDE);
    if (design.tip) SetToolTip(id, design.tip);
    if (design.graphical)
        SendMessageA(control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(speaker_));
    // A limit of 0 lets a box take as much as an edit box can hold.
    if (design.kind == Kind::TextBox) SendMessageA(control, EM_LIMITTEXT, design.maxBytes, 0);
    if (design.value) SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
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
            const design::Form& form = design::kOptionsForm;
            RECT frame{0, 0, TwipsToPixels(form.width, dpi), TwipsToPixels(form.height, dpi)};
            AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)),
                               FALSE, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
            const int width = frame.right - frame.left;
            const int height = frame.bottom - frame.top;
            SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowTextA(window_, form.caption);
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
