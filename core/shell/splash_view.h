#pragma once

#include <string>

#include "core/network/network_menus.h"
#include "core/shell/receipt_notice.h"

namespace qfd {

enum class LinkLabel { Website, Email };

enum class MessageIcon { Critical, Question, Exclamation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// A message box. Text and title are UTF-8 with CR LF line breaks.
struct MessageRequest {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::Exclamation;
    MessageButtons buttons = MessageButtons::Ok;
};

// What frmSplash can do on screen: the splash/about window itself, its tray icon, popup menu and
// main timer, and the modal windows it owns. Modal calls return once the window has closed; the
// front end's event loop runs inside them, so tray and menu events may arrive meanwhile.
class SplashView {
  public:
    virtual ~SplashView() = default;

    virtual void SetVersionText(const std::string& text) = 0;
    virtual void SetLinkLook(LinkLabel label, bool hovered) = 0;

    // Shows the window modelessly, centred on the screen; hiding never destroys it.
    virtual void ShowWindow() = 0;
    virtual void HideWindow() = 0;
    // Back from minimised, and to the foreground where the platform allows it.
    virtual void RestoreWindow() = 0;
    virtual void BringToForeground() = 0;
    // The modal window that is open comes back from minimised and to the foreground, so that a
    // dialog the window manager let the user minimise can always be found again from the tray.
    virtual void BringModalToFront() = 0;

    virtual void SetTimerInterval(int milliseconds) = 0;
    virtual void SetTimerEnabled(bool enabled) = 0;
    // The receipts' own timer, ticking every kReceiptLookMs while it is on.
    virtual void SetReceiptTimerEnabled(bool enabled) = 0;

    virtual void ShowAlertModal() = 0;
    virtual void ShowOptionsModal() = 0;
    virtual MessageAnswer ShowMessage(const MessageRequest& request) = 0;

    // Hands a web address or "mailto:" target to the desktop; failures are ignored.
    virtual void OpenLink(const std::string& target) = 0;

    virtual void AddTrayIcon() = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual void ShowNetworkMenus(const NetworkMenus& menus) = 0;
    // Opens the popup menu at the mouse pointer; a chosen item arrives later as a command.
    virtual void PopupMenu() = 0;
    // A notification from the tray icon; where the desktop shows none, nothing happens.
    virtual void ShowTrayNotice(const TrayNotice& notice) = 0;

    // Ends the process at once: no window's unload handling runs and nothing is written. A real
    // view does not return; a test's view records the call.
    virtual void EndProgram() = 0;
};

}  // namespace qfd
