#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "core/shell/splash_view.h"
#include "core/shell/splash_window.h"
#include "win32/common/gdi.h"
#include "win32/shell/splash_layout.h"

namespace qfd {

// frmSplash on screen: a borderless window kept out of the taskbar, with the brown margin, the
// peach panel Frame1, the logo and the labels drawn on a surface that fills the whole window.
//
// The surface takes every mouse event over the window, so the window itself never receives a
// real pointer move: each WM_MOUSEMOVE that reaches it is the tray icon's callback. That keeps
// real moves and tray messages apart however wide a high-dpi screen makes the window (at 96 dpi
// it is 487 pixels wide, so no real X could reach the 512 .. 517 of the tray's messages; at 144
// dpi it is 731).
class SplashForm {
  public:
    // Other messages of the window (timer, menu commands, tray callbacks): the handler returns
    // true when it took the message.
    using MessageHandler = std::function<bool(UINT, WPARAM, LPARAM)>;

    SplashForm();
    SplashForm(const SplashForm&) = delete;
    SplashForm& operator=(const SplashForm&) = delete;
    ~SplashForm();

    HWND Handle() const { return window_; }
    HICON Icon() const { return bigIcon_; }
    HICON SmallIcon() const { return smallIcon_; }
    void SetPresenter(SplashWindow* presenter) { presenter_ = presenter; }
    void SetMessageHandler(MessageHandler handler) { handler_ = std::move(handler); }

    void SetVersionText(const std::string& text);
    void SetLinkLook(LinkLabel label, bool hovered);
    // Shows the window centred on the primary screen and gives it the keyboard.
    void ShowCentred();
    void Hide();
    bool IsShown() const;

  private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SurfaceProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSurfaceMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void DrawLabel(HDC dc, SplashPart part, HFONT font, std::uint32_t colour, UINT align,
                   const std::string& text);
    void MovedOver(std::optional<SplashPart> part);
    void Clicked(SplashPart part);
    void FitVersionAndPlatform();

    SplashWindow* presenter_ = nullptr;
    MessageHandler handler_;
    HWND window_ = nullptr;
    HWND surface_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HBITMAP logo_ = nullptr;
    SplashLayout layout_;
    FontHandle platformFont_;
    FontHandle versionFont_;
    FontHandle linkFont_;
    FontHandle linkHoverFont_;
    FontHandle arialFont_;
    std::string version_ = "Version";
    bool websiteHovered_ = false;
    bool emailHovered_ = false;
    std::optional<SplashPart> pressed_;
};

}  // namespace qfd
