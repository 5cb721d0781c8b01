#include "win32/alert/alert_form.h"

#include "win32/common/ansi_text.h"

namespace qfd {
namespace {

constexpr const char* kWindowClass = "frmAlert";
constexpr UINT_PTR kFlashTimerId = 1;
constexpr int kNoTarget = -2;
constexpr int kBackground = -1;

void RegisterAlertClass(HINSTANCE instance) {
    WNDCLASSEXA type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = DefWindowProcA;  // replaced right after creation
    type.hInstance = instance;
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.lpszClassName = kWindowClass;
    RegisterClassExA(&type);
}

}  // namespace

AlertForm::AlertForm(HWND owner, SettingsMirror& mirror, AlertSounds& sounds)
    : presenter_(mirror, sounds, *this), dpi_(ScreenDpi()) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterAlertClass(instance);
    // Owned by the (hidden) main window and a tool window: never in the taskbar.
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "Alert", WS_POPUP, 0, 0, 1, 1, owner,
                              nullptr, instance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    for (Label& label : labels_) label.font = CreateDesignFont({"Arial", 12, true});
}

AlertForm::~AlertForm() {
    if (!window_) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void AlertForm::Open() {
    presenter_.Form_Load();
    // Centred on the primary screen with the size set while loading: a full-size alert sits
    // exactly on the screen.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - size_.cx) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - size_.cy) / 2;
    SetWindowPos(window_, nullptr, x, y, size_.cx, size_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

TwipSize AlertForm::ScreenSize() const {
    return {PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi_),
            PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi_)};
}

void AlertForm::SetWindowSize(TwipSize size) {
    size_ = {TwipsToPixels(size.width, dpi_), TwipsToPixels(size.height, dpi_)};
}

void AlertForm::SetFontSize(AlertLabel label, double points) {
    Label& l = LabelOf(label);
    l.font = CreateDesignFont({"Arial", points, true});
    FitToText(l);
}

void AlertForm::SetCaption(AlertLabel label, const std::string& text) {
    Label& l = LabelOf(label);
    l.text = PlainAnsiLine(text);
    FitToText(l);
}

void AlertForm::FitToText(Label& label) {
    // Exactly one line of text in the label's font; the label grows or shrinks with it.
    const SIZE extent = MeasureLine(label.font.get(), label.text);
    label.rect.width = extent.cx;
    label.rect.height = extent.cy;
    InvalidateRect(window_, nullptr, FALSE);
}

TwipSize AlertForm::LabelSize(AlertLabel label) const {
    const PixelRect& rect = LabelOf(label).rect;
    return {PixelsToTwips(rect.width, dpi_), PixelsToTwips(rect.height, dpi_)};
}

void AlertForm::SetLabelLeft(AlertLabel label, double left) {
    LabelOf(label).rect.left = TwipsToPixels(left, dpi_);
    InvalidateRect(window_, nullptr, FALSE);
}

void AlertForm::SetLabelTop(AlertLabel label, double top) {
    LabelOf(label).rect.top = TwipsToPixels(top, dpi_);
    InvalidateRect(window_, nullptr, FALSE);
}

void AlertForm::SetTextColour(AlertLabel label, std::uint32_t colour) {
    LabelOf(label).colour = colour;
    InvalidateRect(window_, nullptr, FALSE);
}

void AlertForm::SetBackColour(std::uint32_t colour) {
    background_ = colour;
    InvalidateRect(window_, nullptr, FALSE);
}

void AlertForm::MakeTopmost() {
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void AlertForm::EnableTimer1(int intervalMs) {
    SetTimer(window_, kFlashTimerId, static_cast<UINT>(intervalMs), nullptr);
}

void AlertForm::UnloadWindow() {
    if (unloaded_) return;
    unloaded_ = true;
    KillTimer(window_, kFlashTimerId);
    presenter_.Form_Unload();
    ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK AlertForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<AlertForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT AlertForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = AnswerPaintMessage(message, [this] { Paint(); })) return *answer;
    const POINT mouse = MousePoint(lParam);
    switch (message) {
        case WM_TIMER:
            if (wParam == kFlashTimerId && !unloaded_) presenter_.Timer1_Timer();
            return 0;
        case WM_LBUTTONDOWN:
            pressed_ = LabelAt(mouse.x, mouse.y);
            return 0;
        case WM_LBUTTONUP: {
            // A click is a press and a release on the same label, or both on the background.
            const int target = LabelAt(mouse.x, mouse.y);
            const bool click = pressed_ == target;
            pressed_ = kNoTarget;
            if (click) Clicked(target);
            return 0;
        }
        case WM_CLOSE:
            // Alt+F4 and the like unload the window as any other way of closing it would.
            UnloadWindow();
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_ACTIVATE;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

int AlertForm::LabelAt(int x, int y) const {
    RECT client{};
    GetClientRect(window_, &client);
    if (x < client.left || y < client.top || x >= client.right || y >= client.bottom)
        return kNoTarget;
    for (const AlertLabel label :
         {AlertLabel::lblAlert, AlertLabel::lblQuorf, AlertLabel::lblMyName}) {
        if (LabelOf(label).rect.Contains(x, y)) return static_cast<int>(label);
    }
    return kBackground;
}

void AlertForm::Clicked(int target) {
    if (unloaded_) return;
    switch (target) {
        case kBackground:
            presenter_.Form_Click();
            break;
        case static_cast<int>(AlertLabel::lblQuorf):
            presenter_.lblQuorf_Click();
            break;
        case static_cast<int>(AlertLabel::lblAlert):
            presenter_.lblAlert_Click();
            break;
        default:
            break;  // the sender line has no click handler
    }
}

void AlertForm::Paint() {
    BufferedPaint paint(window_);
    HDC dc = paint.Dc();
    BrushHandle brush(CreateSolidBrush(ColourRef(background_)));
    ::FillRect(dc, &paint.Client(), brush.get());
    SetBkMode(dc, TRANSPARENT);
    for (const Label& label : labels_) {
        if (label.text.empty()) continue;
        // A text wider than the window runs past both edges and is cut off there.
        RECT r{label.rect.left, label.rect.top, label.rect.Right(), label.rect.Bottom()};
        const HGDIOBJ previous = SelectObject(dc, label.font.get());
        SetTextColor(dc, ColourRef(label.colour));
        DrawTextA(dc, label.text.c_str(), static_cast<int>(label.text.size()), &r,
                  DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        SelectObject(dc, previous);
    }
}

}  // namespace qfd
