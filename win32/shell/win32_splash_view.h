#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/alert/alert_sounds.h"
#include "core/settings/settings_mirror.h"
#include "core/shell/splash_view.h"
#include "win32/shell/splash_form.h"
#include "win32/shell/tray_icon.h"
#include "win32/shell/tray_menu.h"

namespace qfd {

// frmSplash's view in Win32: the splash/about window, the tray icon with its popup menu, the main
// timer (a window timer of frmSplash), and the modal windows it owns. Every event of them goes to
// the SplashWindow behaviour.
class Win32SplashView : public SplashView {
  public:
    // A send that must be told arrives here from the sender's thread.
    static constexpr UINT kSendFailedMessage = WM_APP + 1;

    Win32SplashView(SettingsMirror& mirror, AlertSounds& sounds, std::string programDirectory);

    void SetPresenter(SplashWindow* presenter);
    HWND Handle() const { return form_.Handle(); }

    // Hands an error message to the user-interface thread; callable from any thread.
    void PostSendFailure(const std::string& text, const std::string& title);

    void SetVersionText(const std::string& text) override;
    void SetLinkLook(LinkLabel label, bool hovered) override;
    void ShowWindow() override;
    void HideWindow() override;
    void RestoreWindow() override;
    void BringToForeground() override;
    void BringModalToFront() override;
    void SetTimerInterval(int milliseconds) override;
    void SetTimerEnabled(bool enabled) override;
    void SetReceiptTimerEnabled(bool enabled) override;
    void ShowAlertModal() override;
    void ShowOptionsModal() override;
    MessageAnswer ShowMessage(const MessageRequest& request) override;
    void OpenLink(const std::string& target) override;
    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    void ShowNetworkMenus(const NetworkMenus& menus) override;
    void PopupMenu() override;
    void ShowTrayNotice(const TrayNotice& notice) override;
    void EndProgram() override;

  private:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(unsigned id);

    SettingsMirror& mirror_;
    AlertSounds& sounds_;
    std::string programDirectory_;
    SplashWindow* presenter_ = nullptr;
    SplashForm form_;
    TrayMenu menu_;
    TrayIcon tray_;
    UINT taskbarCreated_ = 0;
    int timerInterval_ = 0;
    bool timerEnabled_ = false;
};

}  // namespace qfd
