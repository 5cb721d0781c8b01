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

AlertForm::AlertForm(HWND owner, SettingsMirror& mirror, AlertSounds& sounds) : AlertForm(owner) {
    presenter_ = &own_.emplace(mirror, sounds, *this);
}

AlertForm::AlertForm(HWND owner, AlertWindow& leader, RECT monitor) : AlertForm(owner) {
    presenter_ = &leader;
    monitor_ = monitor;
}

AlertForm::AlertForm(HWND owner) : dpi_(ScreenDpi()) {
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
    presenter_->Form_Load();
    Place();
    SetForegroundWindow(window_);
}

void AlertForm::ShowOnItsMonitor() { Place(); }

RECT AlertForm::Area() const {
    if (monitor_) return *monitor_;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void AlertForm::Place() {
    // Centred with the size set while loading: a full-size alert sits exactly on its screen.
    const RECT area = Area();
    const int x = area.left + (area.right - area.left - size_.cx) / 2;
    const int y = area.top + (area.bottom - area.top - size_.cy) / 2;
    SetWindowPos(window_, nullptr, x, y, size_.cx, size_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOW);
}

TwipSize AlertForm::ScreenSize() const {
    const RECT area = Area();
    return {PixelsToTwips(area.right - area.left, dpi_),
            PixelsToTwips(area.bottom - area.top, dpi_)};
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
    if (own_) presenter_->Form_Unload();
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
            if (wParam == kFlashTimerId && !unloaded_) presenter_->Timer1_Timer();
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
            // Alt+F4 and the like unload the window as any other way of closing it would; on
            // another monitor's window they close the alert.
            if (own_)
                UnloadWindow();
            else if (!unloaded_)
                presenter_->Form_Click();
            return 0;
        case WM_DISPLAYCHANGE:
            // A monitor removed takes its window along; the runner lets it go.
            if (monitor_ && !MonitorFromRect(&*monitor_, MONITOR_DEFAULTTONULL)) {
                monitorGone_ = true;
                ShowWindow(window_, SW_HIDE);
            }
            return DefWindowProcA(window_, message, wParam, lParam);
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
            presenter_->Form_Click();
            break;
        case static_cast<int>(AlertLabel::lblQuorf):
            presenter_->lblQuorf_Click();
            break;
        case static_cast<int>(AlertLabel::lblAlert):
            presenter_->lblAlert_Click();
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
