#include "win32/shell/win32_splash_view.h"

#include <shellapi.h>

#include <cstdlib>
#include <memory>
#include <utility>

#include "core/shell/shell_texts.h"
#include "win32/alert/alert_runner.h"
#include "win32/common/ansi_text.h"
#include "win32/common/message_box.h"
#include "win32/options/options_runner.h"
#include "win32/shell/menu_commands.h"
#include "win32/shell/tray_callback.h"

namespace qfd {
namespace {

constexpr UINT_PTR kMainTimerId = 1;
constexpr UINT_PTR kReceiptTimerId = 2;

struct SendFailure {
    std::string text;
    std::string title;
};

}  // namespace

Win32SplashView::Win32SplashView(SettingsMirror& mirror, AlertSounds& sounds,
                                 std::string programDirectory)
    : mirror_(mirror), sounds_(sounds), programDirectory_(std::move(programDirectory)) {
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    tray_.Fill(form_.Handle(), form_.SmallIcon(), kTrayTip);
    form_.SetMessageHandler([this](UINT message, WPARAM wParam, LPARAM lParam) {
        return OnMessage(message, wParam, lParam);
    });
}

void Win32SplashView::SetPresenter(SplashWindow* presenter) {
    presenter_ = presenter;
    form_.SetPresenter(presenter);
}

bool Win32SplashView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        tray_.AddAgainIfShown();
        return true;
    }
    switch (message) {
        case kTrayCallbackMessage:
            // Only the tray's callback reaches the window as a mouse move (see SplashForm).
            if (const auto tray = TrayMessageFromCallback(wParam, lParam); tray && presenter_)
                presenter_->TrayIcon_Message(*tray);
            return true;
        case WM_TIMER:
            if (wParam == kMainTimerId && presenter_) presenter_->Timer1_Timer();
            if (wParam == kReceiptTimerId && presenter_) presenter_->ReceiptTimer_Timer();
            return wParam == kMainTimerId || wParam == kReceiptTimerId;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0) {
                OnCommand(LOWORD(wParam));
                return true;
            }
            return false;
        case kSendFailedMessage: {
            std::unique_ptr<SendFailure> failure(reinterpret_cast<SendFailure*>(lParam));
            if (failure)
                ShowMessageBox(nullptr, {failure->text, failure->title, MessageIcon::Critical,
                                         MessageButtons::Ok});
            return true;
        }
        default:
            return false;
    }
}

void Win32SplashView::OnCommand(unsigned id) {
    if (!presenter_) return;
    const ChosenMenuItem chosen = DecodeMenuCommand(id);
    switch (chosen.command) {
        case MenuCommand::mInstant:
            presenter_->mInstant_Click();
            break;
        case MenuCommand::mDelayed:
            presenter_->mDelayed_Click();
            break;
        case MenuCommand::mAll:
            presenter_->mAll_Click();
            break;
        case MenuCommand::mOptions:
            presenter_->mOptions_Click();
            break;
        case MenuCommand::mAbout:
            presenter_->mAbout_Click();
            break;
        case MenuCommand::mExit:
            presenter_->mExit_Click();
            break;
        case MenuCommand::mCancel:
            presenter_->mCancel_Click();
            break;
        case MenuCommand::mNetworkItem:
            presenter_->mNetworkItem_Click(chosen.index);
            break;
        case MenuCommand::mAllButItem:
            presenter_->mAllButItem_Click(chosen.index);
            break;
        case MenuCommand::None:
            break;
    }
}

void Win32SplashView::PostSendFailure(const std::string& text, const std::string& title) {
    auto failure = std::make_unique<SendFailure>(SendFailure{text, title});
    if (PostMessageA(form_.Handle(), kSendFailedMessage, 0,
                     reinterpret_cast<LPARAM>(failure.get())))
        failure.release();  // the window owns it now
}

void Win32SplashView::SetVersionText(const std::string& text) { form_.SetVersionText(text); }

void Win32SplashView::SetLinkLook(LinkLabel label, bool hovered) {
    form_.SetLinkLook(label, hovered);
}

void Win32SplashView::ShowWindow() {
    if (form_.IsShown()) return;
    form_.ShowCentred();
}

void Win32SplashView::HideWindow() { form_.Hide(); }

void Win32SplashView::RestoreWindow() {
    if (IsIconic(form_.Handle())) ::ShowWindow(form_.Handle(), SW_RESTORE);
}

void Win32SplashView::BringToForeground() { SetForegroundWindow(form_.Handle()); }

void Win32SplashView::BringModalToFront() {
    // The modal window is the owned popup that was active last.
    const HWND modal = GetLastActivePopup(form_.Handle());
    if (modal == nullptr || modal == form_.Handle()) return;
    if (IsIconic(modal)) ::ShowWindow(modal, SW_RESTORE);
    SetForegroundWindow(modal);
}

void Win32SplashView::SetTimerInterval(int milliseconds) {
    timerInterval_ = milliseconds;
    // A running window timer takes a new interval by being set again under its id.
    if (timerEnabled_)
        SetTimer(form_.Handle(), kMainTimerId, static_cast<UINT>(timerInterval_), nullptr);
}

void Win32SplashView::SetTimerEnabled(bool enabled) {
    timerEnabled_ = enabled;
    if (enabled)
        SetTimer(form_.Handle(), kMainTimerId, static_cast<UINT>(timerInterval_), nullptr);
    else
        KillTimer(form_.Handle(), kMainTimerId);
}

void Win32SplashView::SetReceiptTimerEnabled(bool enabled) {
    if (enabled)
        SetTimer(form_.Handle(), kReceiptTimerId, static_cast<UINT>(kReceiptLookMs), nullptr);
    else
        KillTimer(form_.Handle(), kReceiptTimerId);
}

void Win32SplashView::ShowTrayNotice(const TrayNotice& notice) {
    tray_.ShowNotice(Utf8ToAnsi(notice.title), Utf8ToAnsi(notice.text));
}

void Win32SplashView::ShowAlertModal() {
    // An alert raised by the timer must not leave the popup menu open behind it.
    EndMenu();
    RunAlertWindow(form_.Handle(), mirror_, sounds_);
}

void Win32SplashView::ShowOptionsModal() {
    EndMenu();
    RunOptionsDialog(form_.Handle(), form_.Icon(), form_.SmallIcon(), mirror_, sounds_, [this] {
        if (presenter_) presenter_->RefreshNetworkMenus();
    });
}

MessageAnswer Win32SplashView::ShowMessage(const MessageRequest& request) {
    return ShowMessageBox(nullptr, request);
}

void Win32SplashView::OpenLink(const std::string& target) {
    // The result is not looked at: a link that opens nothing is not an error.
    ShellExecuteA(form_.Handle(), "Open", target.c_str(), "", programDirectory_.c_str(),
                  SW_SHOWNORMAL);
}

void Win32SplashView::AddTrayIcon() { tray_.Add(); }

void Win32SplashView::RemoveTrayIcon() { tray_.Remove(); }

void Win32SplashView::ShowNetworkMenus(const NetworkMenus& menus) { menu_.ShowNetworkMenus(menus); }

void Win32SplashView::PopupMenu() {
    // The null message makes the menu close properly when the user clicks elsewhere.
    PostMessageA(form_.Handle(), WM_NULL, 0, 0);
    POINT at{0, 0};
    GetCursorPos(&at);
    menu_.Popup(form_.Handle(), at);
}

void Win32SplashView::EndProgram() { std::_Exit(0); }

}  // namespace qfd
