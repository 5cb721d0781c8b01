#include "win32/shell/splash_form.h"

#include "core/shell/about_texts.h"
#include "win32/common/ansi_text.h"
#include "win32/common/twips.h"
#include "win32/resources/resource_ids.h"

namespace qfd {
namespace {

constexpr const char* kWindowClass = "frmSplash";
constexpr const char* kSurfaceClass = "frmSplashSurface";
constexpr std::uint32_t kBrown = 0x004080;
constexpr std::uint32_t kPeach = 0xC0E0FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlack = 0x000000;

std::string Ansi(std::string_view utf8) { return Utf8ToAnsi(utf8); }

void RegisterClasses(HINSTANCE instance, HICON icon, HICON smallIcon) {
    WNDCLASSEXA window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = DefWindowProcA;  // replaced per window right after creation
    window.hInstance = instance;
    window.hIcon = icon;
    window.hIconSm = smallIcon;
    window.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window.lpszClassName = kWindowClass;
    RegisterClassExA(&window);

    WNDCLASSEXA surface = window;
    surface.lpszClassName = kSurfaceClass;
    surface.hIcon = nullptr;
    surface.hIconSm = nullptr;
    // The pointer does not change over the links either.
    RegisterClassExA(&surface);
}

void FillRect(HDC dc, const PixelRect& rect, std::uint32_t colour) {
    const RECT r{rect.left, rect.top, rect.Right(), rect.Bottom()};
    BrushHandle brush(CreateSolidBrush(ColourRef(colour)));
    ::FillRect(dc, &r, brush.get());
}

}  // namespace

SplashForm::SplashForm() : layout_(ScreenDpi()) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    bigIcon_ =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    logo_ = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));
    RegisterClasses(instance, bigIcon_, smallIcon_);

    platformFont_ = CreateDesignFont({"Microsoft Sans Serif", 12, true});
    versionFont_ = CreateDesignFont({"Microsoft Sans Serif", 11.25, true});
    linkFont_ = CreateDesignFont({"MS Sans Serif", 8.25});
    linkHoverFont_ = CreateDesignFont({"MS Sans Serif", 8.25, false, true});
    arialFont_ = CreateDesignFont({"Arial", 8.25});

    const PixelRect client = layout_.Client();
    // No caption, no border; a tool window stays out of the taskbar.
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, "", WS_POPUP, 0, 0, client.width,
                              client.height, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    surface_ = CreateWindowExA(0, kSurfaceClass, "", WS_CHILD | WS_VISIBLE, 0, 0, client.width,
                               client.height, window_, nullptr, instance, nullptr);
    SetWindowLongPtrA(surface_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(surface_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SurfaceProc));
    FitVersionAndPlatform();
}

SplashForm::~SplashForm() {
    if (window_) DestroyWindow(window_);
    if (logo_) DeleteObject(logo_);
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

void SplashForm::FitVersionAndPlatform() {
    const SIZE platform = MeasureLine(platformFont_.get(), Ansi(about::kPlatform));
    layout_.SizeToText(SplashPart::lblPlatform, platform.cx, platform.cy);
    const SIZE version = MeasureLine(versionFont_.get(), Ansi(version_));
    layout_.SizeToText(SplashPart::lblVersion, version.cx, version.cy);
}

void SplashForm::SetVersionText(const std::string& text) {
    version_ = text;
    FitVersionAndPlatform();
    InvalidateRect(surface_, nullptr, FALSE);
}

void SplashForm::SetLinkLook(LinkLabel label, bool hovered) {
    bool& look = label == LinkLabel::Website ? websiteHovered_ : emailHovered_;
    if (look == hovered) return;
    look = hovered;
    const PixelRect rect =
        layout_.Rect(label == LinkLabel::Website ? SplashPart::lblWebsite : SplashPart::lblEmail);
    const RECT r{rect.left, rect.top, rect.Right(), rect.Bottom()};
    InvalidateRect(surface_, &r, FALSE);
}

void SplashForm::ShowCentred() {
    const PixelRect client = layout_.Client();
    const int x = (GetSystemMetrics(SM_CXSCREEN) - client.width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - client.height) / 2;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // No call to bring it to the foreground: the platform's own show decides. (Forcing it there
    // at start-up also keeps Wine's tray from passing on the icon's clicks.)
    ShowWindow(window_, SW_SHOW);
    SetFocus(surface_);
}

void SplashForm::Hide() {
    pressed_.reset();
    ShowWindow(window_, SW_HIDE);
}

bool SplashForm::IsShown() const { return IsWindowVisible(window_) != FALSE; }

LRESULT CALLBACK SplashForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SplashForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->OnWindowMessage(message, wParam, lParam);
}

LRESULT CALLBACK SplashForm::SurfaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SplashForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->OnSurfaceMessage(message, wParam, lParam);
}

LRESULT SplashForm::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (handler_ && handler_(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_SETFOCUS:
        case WM_ACTIVATE:
            if (message == WM_SETFOCUS || LOWORD(wParam) != WA_INACTIVE) SetFocus(surface_);
            return 0;
        case WM_CLOSE:
            // Hiding never unloads the window: it owns the tray icon and the main timer.
            Hide();
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

LRESULT SplashForm::OnSurfaceMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto answer = AnswerPaintMessage(message, [this] { Paint(); })) return *answer;
    const POINT mouse = MousePoint(lParam);
    switch (message) {
        case WM_MOUSEMOVE:
            MovedOver(layout_.PartAt(mouse.x, mouse.y));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pressed_ = layout_.PartAt(mouse.x, mouse.y);
            return 0;
        case WM_LBUTTONUP: {
            // A click: pressed and released over the same part.
            const std::optional<SplashPart> part = layout_.PartAt(mouse.x, mouse.y);
            const bool click = part && pressed_ == part;
            pressed_.reset();
            if (click) Clicked(*part);
            return 0;
        }
        case WM_CHAR:
            // Only keys that produce a character come as WM_CHAR: letters, digits, Enter, Escape,
            // Backspace; arrows, function keys and Shift alone do not.
            if (presenter_) presenter_->Form_KeyPress();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        default:
            return DefWindowProcA(surface_, message, wParam, lParam);
    }
}

void SplashForm::MovedOver(std::optional<SplashPart> part) {
    if (!presenter_ || !part) return;
    switch (*part) {
        case SplashPart::Margin:
            // A move over the window itself: the link labels rest. Its X is a real coordinate,
            // never a tray message (see the class comment), so the tray decoding is left out.
            presenter_->ResetLinkLabels();
            break;
        case SplashPart::Frame1:
            presenter_->Frame1_MouseMove();
            break;
        case SplashPart::lblWebsite:
            presenter_->lblWebsite_MouseMove();
            break;
        case SplashPart::lblEmail:
            presenter_->lblEmail_MouseMove();
            break;
        default:
            break;  // the logo and the plain labels change nothing
    }
}

void SplashForm::Clicked(SplashPart part) {
    if (!presenter_) return;
    switch (part) {
        case SplashPart::Margin:
            break;  // a click on the margin does nothing
        case SplashPart::Frame1:
            presenter_->Frame1_Click();
            break;
        case SplashPart::imgLogo:
            presenter_->imgLogo_Click();
            break;
        case SplashPart::lblPlatform:
            presenter_->lblPlatform_Click();
            break;
        case SplashPart::lblVersion:
            presenter_->lblVersion_Click();
            break;
        case SplashPart::lblEmail:
            presenter_->lblEmail_Click();
            break;
        case SplashPart::lblWebsite:
            presenter_->lblWebsite_Click();
            break;
        case SplashPart::lblCopyright:
            presenter_->lblCopyright_Click();
            break;
        case SplashPart::lblCompany:
            presenter_->lblCompany_Click();
            break;
        case SplashPart::lblWarning:
            presenter_->lblWarning_Click();
            break;
    }
}

void SplashForm::DrawLabel(HDC dc, SplashPart part, HFONT font, std::uint32_t colour, UINT align,
                           const std::string& text) {
    const PixelRect rect = layout_.Rect(part);
    RECT r{rect.left, rect.top, rect.Right(), rect.Bottom()};
    const HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, ColourRef(colour));
    DrawTextA(dc, text.c_str(), -1, &r, align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
}

void SplashForm::Paint() {
    BufferedPaint paint(surface_);
    HDC dc = paint.Dc();
    FillRect(dc, layout_.Client(), kBrown);
    const PixelRect panel = layout_.Panel();
    FillRect(dc, panel, kPeach);
    // Nothing drawn on the panel goes past its edges.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, panel.left, panel.top, panel.Right(), panel.Bottom());

    if (logo_) {
        BITMAP info{};
        GetObjectA(logo_, sizeof info, &info);
        HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(source, logo_);
        const PixelRect rect = layout_.Rect(SplashPart::imgLogo);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, rect.left, rect.top, rect.width, rect.height, source, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }

    SetBkMode(dc, TRANSPARENT);
    DrawLabel(dc, SplashPart::lblPlatform, platformFont_.get(), kBlack, DT_RIGHT,
              Ansi(about::kPlatform));
    DrawLabel(dc, SplashPart::lblVersion, versionFont_.get(), kBlack, DT_RIGHT, Ansi(version_));
    // The link labels have the panel's colour as their own background.
    DrawLabel(dc, SplashPart::lblEmail, emailHovered_ ? linkHoverFont_.get() : linkFont_.get(),
              emailHovered_ ? kRed : kBlue, DT_LEFT,
              Ansi(std::string(about::kEmailCaptionPrefix) + std::string(about::kEmailAddress)));
    DrawLabel(dc, SplashPart::lblWebsite, websiteHovered_ ? linkHoverFont_.get() : linkFont_.get(),
              websiteHovered_ ? kRed : kBlue, DT_LEFT, Ansi(about::kWebAddress));
    DrawLabel(dc, SplashPart::lblCopyright, arialFont_.get(), kBlack, DT_LEFT,
              Ansi(about::kCopyright));
    DrawLabel(dc, SplashPart::lblCompany, arialFont_.get(), kBlack, DT_LEFT,
              Ansi(about::kMakerName));
    DrawLabel(dc, SplashPart::lblWarning, arialFont_.get(), kBlack, DT_CENTER,
              Ansi(about::kWarning));
    RestoreDC(dc, saved);
}

}  // namespace qfd
