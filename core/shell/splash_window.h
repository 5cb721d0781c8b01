#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/network/mailbox.h"
#include "core/network/receipt_lookout.h"
#include "core/network/receipt_watch.h"
#include "core/platform/file_stamp.h"
#include "core/settings/settings_mirror.h"
#include "core/shell/splash_view.h"
#include "core/shell/twips_scale.h"

namespace qfd {

// Mouse messages of the tray icon, as they arrive coded in the window's horizontal coordinate.
namespace tray_message {
inline constexpr int kMouseMove = 512;
inline constexpr int kLeftDown = 513;
inline constexpr int kLeftUp = 514;
inline constexpr int kLeftDoubleClick = 515;
inline constexpr int kRightDown = 516;
inline constexpr int kRightUp = 517;
}  // namespace tray_message

// The main timer's modes (TimerMode): what its tick does.
namespace timer_mode {
inline constexpr std::int16_t kPolling = 0;    // looks into the mailbox
inline constexpr std::int16_t kAlertOpen = 1;  // nothing: the alert is up
inline constexpr std::int16_t kDelayed = 2;    // counts a delayed alert's seconds
}  // namespace timer_mode

// What the shell needs from around it: where this installation lives, whether it is already
// running, and who writes alert records into other installations' mailboxes (given the detector
// paths, in the order they are to be served) and finishes them before the program ends.
struct StartupEnvironment {
    std::string programDirectory;
    std::function<bool()> anotherInstanceRunning;
    std::function<void(const std::vector<std::string>& detectorPaths)> sendNetworkAlert;
    std::function<void()> finishSending;
    std::function<Deliveries()> takeDeliveries;  // the network alerts written since last asked
};

// The behaviour of frmSplash: start-up, the splash/about window, the tray icon's messages, the
// popup menu's commands and the main timer. It stays alive for the whole run.
class SplashWindow {
  public:
    // Which modal window is open; while one is, tray clicks and menu commands are ignored, so
    // nothing opens a second modal window on top of the first or restarts the timer under it.
    enum class Modal { None, Alert, Options, ExitQuestion, Message };

    SplashWindow(SettingsMirror& mirror, SplashView& view, StartupEnvironment environment);

    // The start-up sequence. False when another instance runs: the message has been shown and the
    // program must end without touching anything. True once everything is set up; the window is
    // then shown as the splash window.
    bool Form_Load();

    // Window events.
    void Form_KeyPress();  // a key that produces a character
    void Form_MouseMove(double xTwips);
    void Frame1_Click();
    void imgLogo_Click();
    void lblPlatform_Click();
    void lblVersion_Click();
    void lblCopyright_Click();
    void lblCompany_Click();
    void lblWarning_Click();
    void lblWebsite_Click();
    void lblEmail_Click();
    void lblWebsite_MouseMove();
    void lblEmail_MouseMove();
    void Frame1_MouseMove();

    // A tray icon message; it reaches the window as a mouse move with the message as X.
    void TrayIcon_Message(int message) { Form_MouseMove(message * kTwipsPerPixel); }
    // The desktop's tray host opens the menu the program exports by itself, also while a modal
    // window is open: then the commands are off and that window comes back instead, as a right
    // click brings it. Returns whether the commands are on.
    bool mPopUpSys_Opening();

    // Popup menu commands.
    void mInstant_Click();
    void mDelayed_Click();
    void mOptions_Click();
    void mAbout_Click();
    void mExit_Click();
    void mCancel_Click() {}
    // The "&Network Alert" submenu: one detector, all of them, all but one. Indexes are positions
    // in the item arrays as last built.
    void mNetworkItem_Click(int index);
    void mAll_Click();
    void mAllButItem_Click(int index);

    void Timer1_Timer();

    // The receipts' timer, on from a network alert sent from the tray menu until every record
    // sent is settled: takes the records written since its last tick, has a few receivers' files
    // looked into off this thread and tells in one notice what the last look settled.
    void ReceiptTimer_Timer();
    // Blocks until the look into the receivers' files in progress, if any, has ended.
    void WaitForReceiptLook() const { receipts_.WaitForLook(); }

    // The system says the settings file may have changed: the mailbox is looked into now, as the
    // next poll would, without waiting for it. The timer's own work stays with its ticks: the
    // splash, a record's waiting time and a shown record's owed clearing are counted and tried
    // there only. Nothing happens while a modal window is open or a delayed alert counts (the
    // poll catches up), nor when the file stands as this program last wrote it or a wake looked
    // into it. A record that another process's lock keeps undecided is left to the ticks.
    void MailboxMayHaveChanged();

    // Rebuilds the tray menu's network submenus from the detector list in the settings file.
    void RefreshNetworkMenus();

    void ResetLinkLabels();
    void HighlightLinkLabel(LinkLabel label);

    std::int16_t TimerMode() const { return timerMode_; }
    std::int16_t DelayCount() const { return delayCount_; }
    bool SplashDone() const { return splashDone_; }
    Modal OpenModal() const { return modal_; }

  private:
    class ModalScope;

    // What made the mailbox be looked into: the timer's tick, or a notice that the file changed.
    enum class LookCause { Tick, Wake };

    void InstantAlert();
    void PollTick() { LookAndShow(LookCause::Tick); }
    bool LookAndShow(LookCause cause);
    void ForgetReplacedRecord(const std::optional<MailboxRecord>& seen);
    Countdown WaitingTimeFor(const MailboxRecord& seen, LookCause cause, MailboxRecord& due);
    void ShowReceived(const MailboxRecord& due);
    void NoteOwnFile() { knownStamp_ = StampOf(mirror_.IniPath); }
    // A wake comes the moment a writer renames its file into place, while the writer holds the
    // lock a moment longer: its look waits for the lock briefly, where a tick never waits.
    static LockWait LockWaitFor(LookCause cause) {
        return cause == LookCause::Wake ? LockWait::Brief : LockWait::None;
    }
    void DelayedTick();
    void CountDownSplash();
    void ClearShownRecord();
    void HideSplash() { view_.HideWindow(); }
    // The user hears once per run that the settings file cannot be used; the message waits until
    // the handler that found the problem has finished, so its nested event loop re-enters nothing.
    void NoteSettingsProblem(std::optional<std::string> problem);
    void TellSettingsProblem();
    void Send(const std::vector<std::string>& detectorPaths);
    int PollingInterval() const;

    SettingsMirror& mirror_;
    SplashView& view_;
    StartupEnvironment environment_;

    NetworkMenus menus_;
    std::int16_t timerMode_ = timer_mode::kPolling;
    std::int16_t delayCount_ = 0;
    bool splashDone_ = false;
    // The splash countdown as last written; it goes on in memory while the file cannot be written.
    int splashCount_ = 0;
    bool splashCountInFile_ = true;
    // A record that was shown and closed but is not cleared from the file yet (the lock was busy)
    // or could not be (the file cannot be written): it is not shown again until the file's record
    // changes.
    std::optional<MailboxRecord> closedRecord_;
    bool clearingOwed_ = false;  // closedRecord_ is still to be marked done, at the next tick
    // The settings file as this program last wrote it or a wake looked into it: a notice that it
    // changed while it still stands so is this program's own write, or news already seen. (The
    // tick's look leaves it, so that a quiet tick costs nothing more: a notice the tick beat to
    // the news brings one look that finds nothing new.)
    std::optional<FileStamp> knownStamp_;
    ReceiptLookout receipts_;
    bool receiptTimerOn_ = false;
    std::optional<std::string> settingsProblem_;
    bool settingsProblemTold_ = false;
    Modal modal_ = Modal::None;
};

}  // namespace qfd
