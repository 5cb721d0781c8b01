#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>

#include "core/alert/alert_sounds.h"
#include "core/settings/settings_mirror.h"
#include "core/shell/splash_view.h"
#include "qt/shell/splash_form.h"
#include "qt/shell/tray_menu.h"

namespace qfd {

// frmSplash's view in Qt: the splash/about window, the tray icon with its popup menu, the main
// timer, and the modal windows it owns. Events of all of them go to the SplashWindow behaviour.
class QtSplashView : public QObject, public SplashView {
  public:
    QtSplashView(SettingsMirror& mirror, AlertSounds& sounds);
    ~QtSplashView() override;

    void SetPresenter(SplashWindow* presenter);

    SplashForm& Form() { return form_; }
    TrayMenu& Menu() { return menu_; }
    QSystemTrayIcon& TrayIcon() { return tray_; }
    QTimer& Timer() { return timer_; }
    QTimer& ReceiptTimer() { return receiptTimer_; }

    // What "end at once" does; tests put a recorder here.
    void SetEndProgram(std::function<void()> end) { endProgram_ = std::move(end); }
    // The modal windows; tests put their own here.
    void SetAlertRunner(std::function<void()> run) { runAlert_ = std::move(run); }
    void SetOptionsRunner(std::function<void()> run) { runOptions_ = std::move(run); }

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

    // The tray icon's activation as the mouse message it stands for.
    static int TrayMessageFor(QSystemTrayIcon::ActivationReason reason);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CloseMenu();
    bool IsTrayIconWidget(QObject* object) const;
    void SplashPainted();

    SettingsMirror& mirror_;
    AlertSounds& sounds_;
    SplashWindow* presenter_ = nullptr;
    SplashForm form_;
    TrayMenu menu_;
    QSystemTrayIcon tray_;
    QTimer timer_;
    QTimer receiptTimer_;
    std::function<void()> endProgram_;
    std::function<void()> runAlert_;
    std::function<void()> runOptions_;
    bool hideAfterMenu_ = false;
    // The icon docks once the splash has painted (or hidden unpainted, or after kTrayIconLatest),
    // so that registering it with the tray host does not hold up the first paint.
    static constexpr int kTrayIconLatest = 500;  // milliseconds
    bool splashPainted_ = false;
    bool trayIconAsked_ = false;
};

}  // namespace qfd
