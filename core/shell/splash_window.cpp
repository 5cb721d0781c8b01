#include "core/shell/splash_window.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/options/control_index.h"
#include "core/settings/ini_access.h"
#include "core/settings/ini_path.h"
#include "core/settings/number_form.h"
#include "core/settings/settings_file_check.h"
#include "core/shell/about_texts.h"
#include "core/shell/polling.h"
#include "core/shell/shell_texts.h"

namespace qfd {

// Marks a modal window as open for as long as the view's modal call runs; restores what was open
// before, since an alert may open while the exit question waits.
class SplashWindow::ModalScope {
  public:
    ModalScope(SplashWindow& window, Modal modal)
        : window_(window), previous_(std::exchange(window.modal_, modal)) {}
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    ~ModalScope() { window_.modal_ = previous_; }

  private:
    SplashWindow& window_;
    Modal previous_;
};

SplashWindow::SplashWindow(SettingsMirror& mirror, SplashView& view, StartupEnvironment environment)
    : mirror_(mirror), view_(view), environment_(std::move(environment)) {}

int SplashWindow::PollingInterval() const { return EffectiveLatency(mirror_.Latency); }

bool SplashWindow::Form_Load() {
    if (environment_.anotherInstanceRunning && environment_.anotherInstanceRunning()) {
        view_.ShowMessage({std::string(kOnlyOnceMessage), std::string(kAppTitle),
                           MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    view_.SetVersionText(VersionText());
    mirror_.IniPath = MakeIniPath(environment_.programDirectory);
    LoadSettingsMirror(mirror_);

    splashCount_ = SplashCountdownStart(PollingInterval());
    std::string splashDelay = NumberForm(splashCount_);
    const WriteOutcome written =
        WriteIni(mirror_.IniPath, sections::kSettings, "splashDelay", splashDelay);
    if (written.changed) NoteOwnFile();
    splashCountInFile_ = written.Ok();

    mirror_.SenderName.clear();
    splashDone_ = false;
    RefreshNetworkMenus();
    view_.AddTrayIcon();
    view_.SetTimerInterval(PollingInterval());
    view_.SetTimerEnabled(true);
    view_.ShowWindow();
    // Whether the file can be read, and whether the first write went in.
    NoteSettingsProblem(SettingsReadProblem(mirror_.IniPath));
    NoteSettingsProblem(SettingsWriteProblem(written));
    TellSettingsProblem();
    return true;
}

void SplashWindow::NoteSettingsProblem(std::optional<std::string> problem) {
    if (problem && !settingsProblem_) settingsProblem_ = std::move(problem);
}

void SplashWindow::TellSettingsProblem() {
    if (!settingsProblem_ || settingsProblemTold_) return;
    settingsProblemTold_ = true;
    ModalScope scope(*this, Modal::Message);
    view_.ShowMessage({SettingsFileMessage(mirror_.IniPath, *settingsProblem_),
                       std::string(kAppTitle), MessageIcon::Exclamation, MessageButtons::Ok});
}

void SplashWindow::RefreshNetworkMenus() {
    menus_ = qfd::RefreshNetworkMenus(mirror_.IniPath);
    view_.ShowNetworkMenus(menus_);
}

void SplashWindow::Send(const std::vector<std::string>& detectorPaths) {
    if (modal_ != Modal::None || detectorPaths.empty() || !environment_.sendNetworkAlert) return;
    environment_.sendNetworkAlert(detectorPaths);
    if (!receiptTimerOn_ && environment_.takeDeliveries) {
        receiptTimerOn_ = true;
        view_.SetReceiptTimerEnabled(true);
    }
}

void SplashWindow::ReceiptTimer_Timer() {
    if (!receiptTimerOn_) return;  // a tick queued before the timer went off
    Deliveries deliveries = environment_.takeDeliveries();
    for (Delivery& delivery : deliveries.written) receipts_.Expect(std::move(delivery));
    const ReceiptNews news = receipts_.Poll(ReceiptWatch::Clock::now());
    if (const auto notice = DescribeReceipts(news, ClockText(std::chrono::system_clock::now()))) {
        view_.ShowTrayNotice(*notice);
    }
    if (receipts_.Settled() && !deliveries.sending) {
        receiptTimerOn_ = false;
        view_.SetReceiptTimerEnabled(false);
    }
}

void SplashWindow::mNetworkItem_Click(int index) {
    const auto& items = menus_.networkItems;
    if (!ControlIndexInRange(index, items.size())) return;
    const NetworkMenuItem& item = items[static_cast<std::size_t>(index)];
    if (item.visible && item.enabled) Send({item.caption});
}

void SplashWindow::mAll_Click() {
    // Every entry of the list: the items shown below the separator.
    std::vector<std::string> paths;
    for (const NetworkMenuItem& item : menus_.networkItems) {
        if (item.visible) paths.push_back(item.caption);
    }
    Send(paths);
}

void SplashWindow::mAllButItem_Click(int index) {
    // The submenu's items are enabled only when the list holds two entries or more.
    const auto& items = menus_.allButItems;
    if (!ControlIndexInRange(index, items.size())) return;
    if (!items[static_cast<std::size_t>(index)].enabled) return;
    std::vector<std::string> paths;
    for (std::size_t c = 0; c < items.size(); ++c) {
        if (c != static_cast<std::size_t>(index)) paths.push_back(items[c].caption);
    }
    Send(paths);
}

void SplashWindow::Form_KeyPress() { HideSplash(); }

void SplashWindow::Frame1_Click() { HideSplash(); }
void SplashWindow::imgLogo_Click() { HideSplash(); }
void SplashWindow::lblPlatform_Click() { HideSplash(); }
void SplashWindow::lblVersion_Click() { HideSplash(); }
void SplashWindow::lblCopyright_Click() { HideSplash(); }
void SplashWindow::lblCompany_Click() { HideSplash(); }
void SplashWindow::lblWarning_Click() { HideSplash(); }

void SplashWindow::lblWebsite_Click() { view_.OpenLink(std::string(about::kWebAddress)); }

void SplashWindow::lblEmail_Click() {
    view_.OpenLink(std::string(about::kMailtoScheme) + std::string(about::kEmailAddress));
}

void SplashWindow::ResetLinkLabels() {
    view_.SetLinkLook(LinkLabel::Website, false);
    view_.SetLinkLook(LinkLabel::Email, false);
}

void SplashWindow::HighlightLinkLabel(LinkLabel label) { view_.SetLinkLook(label, true); }

void SplashWindow::lblWebsite_MouseMove() {
    ResetLinkLabels();
    HighlightLinkLabel(LinkLabel::Website);
}

void SplashWindow::lblEmail_MouseMove() {
    ResetLinkLabels();
    HighlightLinkLabel(LinkLabel::Email);
}

void SplashWindow::Frame1_MouseMove() { ResetLinkLabels(); }

void SplashWindow::Form_MouseMove(double xTwips) {
    ResetLinkLabels();
    if (!std::isfinite(xTwips)) return;
    const double pixels = std::round(xTwips / kTwipsPerPixel);
    if (pixels < tray_message::kMouseMove || pixels > tray_message::kRightUp) return;
    const int message = static_cast<int>(pixels);
    // Showing the window or the menu while a modal window is open fails; a click brings that
    // window back instead, in case it was minimised out of sight.
    if (modal_ != Modal::None) {
        if (message == tray_message::kLeftUp || message == tray_message::kRightUp) {
            view_.BringModalToFront();
        }
        return;
    }
    switch (message) {
        case tray_message::kLeftUp:
        case tray_message::kLeftDoubleClick:
            view_.RestoreWindow();
            view_.BringToForeground();
            view_.ShowWindow();
            break;
        case tray_message::kRightUp:
            view_.BringToForeground();
            view_.PopupMenu();
            break;
        default:
            break;
    }
}

bool SplashWindow::mPopUpSys_Opening() {
    if (modal_ == Modal::None) return true;
    view_.BringModalToFront();
    return false;
}

void SplashWindow::InstantAlert() {
    view_.HideWindow();
    view_.SetTimerEnabled(false);
    timerMode_ = timer_mode::kAlertOpen;
    {
        ModalScope scope(*this, Modal::Alert);
        view_.ShowAlertModal();
    }
    view_.SetTimerInterval(PollingInterval());
    timerMode_ = timer_mode::kPolling;
    view_.SetTimerEnabled(true);
}

void SplashWindow::mInstant_Click() {
    if (modal_ != Modal::None) return;
    InstantAlert();
}

void SplashWindow::mDelayed_Click() {
    if (modal_ != Modal::None) return;
    view_.SetTimerEnabled(false);
    timerMode_ = timer_mode::kDelayed;
    view_.SetTimerInterval(kSecondTick);
    delayCount_ = 0;
    view_.SetTimerEnabled(true);
}

void SplashWindow::mOptions_Click() {
    if (modal_ != Modal::None) return;
    view_.SetTimerEnabled(false);
    {
        ModalScope scope(*this, Modal::Options);
        view_.ShowOptionsModal();
    }
    NoteOwnFile();  // every change in the dialog was written at once
    view_.SetTimerEnabled(true);
}

void SplashWindow::mAbout_Click() {
    if (modal_ != Modal::None) return;
    view_.ShowWindow();
}

void SplashWindow::mExit_Click() {
    if (modal_ != Modal::None) return;
    MessageAnswer answer;
    {
        ModalScope scope(*this, Modal::ExitQuestion);
        answer = view_.ShowMessage({std::string(kExitQuestion), std::string(kAppTitle),
                                    MessageIcon::Question, MessageButtons::YesNo});
    }
    if (answer != MessageAnswer::Yes) return;
    view_.SetReceiptTimerEnabled(false);  // receipts still awaited are not told
    view_.RemoveTrayIcon();
    // The program ends at once, but an alert sent just before Exit must still arrive.
    if (environment_.finishSending) environment_.finishSending();
    view_.EndProgram();
}

void SplashWindow::Timer1_Timer() {
    // The timer is off while a modal window is open; a tick already queued must not start a
    // second alert on top of the first.
    if (modal_ == Modal::Alert || modal_ == Modal::Options) return;
    switch (timerMode_) {
        case timer_mode::kPolling:
            PollTick();
            break;
        case timer_mode::kDelayed:
            DelayedTick();
            break;
        default:
            break;
    }
    TellSettingsProblem();
}

void SplashWindow::MailboxMayHaveChanged() {
    if (modal_ != Modal::None || timerMode_ != timer_mode::kPolling) return;
    const FileStamp now = StampOf(mirror_.IniPath);
    if (knownStamp_ == now) return;
    // Stamped before the look reads: a change that comes meanwhile brings a notice of its own.
    knownStamp_ = now;
    // Nothing is known of a file that a look could not decide on (a writer kept the lock longer
    // than a wake waits): the next notice, such as the end of that writer's rewrite, looks again.
    if (!LookAndShow(LookCause::Wake)) knownStamp_.reset();
    TellSettingsProblem();
}

// The poll's tick and a wake share this path; only the tick counts and clears. False when another
// process's lock kept the look from deciding.
bool SplashWindow::LookAndShow(LookCause cause) {
    // The mailbox is looked at first, the whole record from one reading of the file.
    const std::optional<MailboxRecord> seen =
        LookIntoMailbox(mirror_.IniPath, mirror_.QFtext, mirror_.Atext, LockWaitFor(cause));

    if (cause == LookCause::Tick && !splashDone_) CountDownSplash();
    ForgetReplacedRecord(seen);
    // A shown record still owed its clearing is cleared before anything else is looked at; the
    // look above came before the clearing, so the next tick looks again.
    if (clearingOwed_) {
        if (cause == LookCause::Tick) ClearShownRecord();
        return true;
    }
    if (!seen) return false;  // another process is rewriting the file: look again later
    if (!seen->Waiting() || closedRecord_) return true;
    MailboxRecord due;
    const Countdown countdown = WaitingTimeFor(*seen, cause, due);
    if (countdown == Countdown::Due) ShowReceived(due);
    return countdown != Countdown::Postponed;
}

void SplashWindow::ForgetReplacedRecord(const std::optional<MailboxRecord>& seen) {
    // A shown record stays remembered while it is in the file. Once another record (or a cleared
    // one) stands there, there is nothing left to clear: a record sent meanwhile is not lost.
    if (seen && closedRecord_ && *seen != *closedRecord_) {
        closedRecord_.reset();
        clearingOwed_ = false;
    }
}

Countdown SplashWindow::WaitingTimeFor(const MailboxRecord& seen, LookCause cause,
                                       MailboxRecord& due) {
    // The waiting time goes down by the timer's seconds: a wake shows only what is due now.
    if (cause == LookCause::Wake) {
        return CheckWaitingTime(mirror_.IniPath, seen, due, LockWaitFor(cause));
    }
    const Countdown countdown = CountDownWaitingTime(mirror_.IniPath, seen, due);
    if (countdown == Countdown::Waiting) {
        NoteOwnFile();
        view_.SetTimerInterval(kSecondTick);
    }
    return countdown;
}

void SplashWindow::ShowReceived(const MailboxRecord& due) {
    mirror_.QFtext = due.QFtext;
    mirror_.Atext = due.Atext;
    mirror_.SenderName = due.NetName;
    InstantAlert();
    // A record that arrived while the alert was open stays for the next look.
    closedRecord_ = due;
    clearingOwed_ = true;
    ClearShownRecord();
}

void SplashWindow::ClearShownRecord() {
    const WriteOutcome outcome = MarkMailboxDone(mirror_.IniPath, *closedRecord_);
    if (outcome.changed) NoteOwnFile();
    if (outcome.error == StoreError::Busy) return;  // another process holds the lock: next tick
    clearingOwed_ = false;
    if (outcome.Ok()) {
        closedRecord_.reset();
    } else {
        NoteSettingsProblem(SettingsWriteProblem(outcome));
    }
}

void SplashWindow::CountDownSplash() {
    // The count lives in the file; while the file cannot be written it goes on in memory, so the
    // splash still closes. A damaged value counts as the default, and the count never runs below
    // what the file's 16-bit form holds. While another process holds the lock, the count waits.
    const std::string& file = mirror_.IniPath;
    const int current = splashCountInFile_
                            ? ReadInt16Setting(file, sections::kSettings, "splashDelay", 70)
                            : splashCount_;
    const int next = std::max(current - 1, int{std::numeric_limits<std::int16_t>::min()});
    std::string text = NumberForm(next);
    const WriteOutcome outcome =
        WriteIni(file, sections::kSettings, "splashDelay", text, LockWait::None);
    if (outcome.changed) NoteOwnFile();
    if (outcome.error == StoreError::Busy) return;
    splashCount_ = next;
    splashCountInFile_ = outcome.Ok();
    NoteSettingsProblem(SettingsWriteProblem(outcome));
    if (splashCount_ <= 1) {
        HideSplash();
        splashDone_ = true;
    }
}

void SplashWindow::DelayedTick() {
    ++delayCount_;
    if (delayCount_ >= mirror_.Delay) InstantAlert();
}

}  // namespace qfd
