// Tray icon messages, popup menu commands and the modal windows they open.
#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/core/shell/shell_fixture.h"

namespace qfd::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct TrayCase {
    int message;
    std::vector<std::string> calls;
};

class TrayMessages : public ShellTest, public ::testing::WithParamInterface<TrayCase> {};

TEST_P(TrayMessages, DecodeTheMouseMessage) {
    Start();
    view.websiteHovered = true;
    window.TrayIcon_Message(GetParam().message);
    EXPECT_EQ(view.calls, GetParam().calls);
    EXPECT_FALSE(view.websiteHovered);  // every message first resets the link labels
}

INSTANTIATE_TEST_SUITE_P(Rows, TrayMessages,
                         ::testing::Values(TrayCase{512, {}}, TrayCase{513, {}},
                                           TrayCase{514, {"restore", "foreground", "show"}},
                                           TrayCase{515, {"restore", "foreground", "show"}},
                                           TrayCase{516, {}},
                                           TrayCase{517, {"foreground", "popup"}},
                                           TrayCase{518, {}}, TrayCase{519, {}}, TrayCase{0, {}},
                                           TrayCase{-514, {}}));

TEST_F(ShellTest, MouseMovesOverTheWindowDecodeTwipsToTheNearestPixel) {
    Start();
    window.Form_MouseMove(514 * 15.0 + 7.4);  // rounds to 514
    window.Form_MouseMove(517 * 15.0 - 7.6);  // rounds to 516: nothing
    window.Form_MouseMove(1e300);
    window.Form_MouseMove(-1e300);
    EXPECT_THAT(view.calls, ElementsAre("restore", "foreground", "show"));
}

TEST_F(ShellTest, InstantAlertRunsTheAlertAndResumesPolling) {
    Set("Settings", "Latency", "40");
    Start();
    window.mInstant_Click();
    EXPECT_THAT(view.calls, ElementsAre("hide", "timer off", "alert", "alert closed", "interval 40",
                                        "timer on"));
    EXPECT_EQ(window.TimerMode(), 0);
}

TEST_F(ShellTest, InstantAlertDuringACountdownEndsIt) {
    Set("Settings", "Delay", "3");
    Start();
    window.mDelayed_Click();
    window.Timer1_Timer();
    window.mInstant_Click();
    EXPECT_EQ(view.alerts, 1);
    EXPECT_EQ(view.timerInterval, 100);
    for (int i = 0; i < 40; ++i) window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1);  // no second alert when the countdown would have ended
}

TEST_F(ShellTest, OptionsDialogPausesACountdown) {
    Set("Settings", "Delay", "4");
    Start();
    window.mDelayed_Click();
    window.Timer1_Timer();
    window.Timer1_Timer();
    view.duringOptions = [&] {
        EXPECT_FALSE(view.timerEnabled);
        EXPECT_EQ(window.OpenModal(), SplashWindow::Modal::Options);
        window.Timer1_Timer();  // a tick already queued when the dialog opened
    };
    view.calls.clear();
    window.mOptions_Click();
    EXPECT_THAT(view.calls, ElementsAre("timer off", "options", "options closed", "timer on"));
    EXPECT_EQ(window.DelayCount(), 2);
    EXPECT_EQ(window.TimerMode(), 2);
    EXPECT_EQ(view.timerInterval, 1000);
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 0);
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1);
}

TEST_F(ShellTest, NewLatencyFromTheOptionsTakesEffectAfterTheNextAlert) {
    Start();
    view.duringOptions = [&] { mirror.Latency = 500; };
    window.mOptions_Click();
    EXPECT_EQ(view.timerInterval, 100);
    window.mInstant_Click();
    EXPECT_EQ(view.timerInterval, 500);
}

// Everything a user or the timer can do while a modal window is open.
void PokeEverything(SplashWindow& w) {
    w.TrayIcon_Message(514);
    w.TrayIcon_Message(515);
    w.TrayIcon_Message(517);
    EXPECT_FALSE(w.mPopUpSys_Opening()) << "the host's menu offers commands that do nothing";
    w.mInstant_Click();
    w.mDelayed_Click();
    w.mOptions_Click();
    w.mAbout_Click();
    w.mExit_Click();
    w.mCancel_Click();
    w.Timer1_Timer();
}

TEST_F(ShellTest, NothingReentersWhileTheAlertIsOpen) {
    Start();
    Set("Commands", "Type", "1");
    std::vector<std::string> during;
    view.duringAlert = [&] {
        const std::size_t mark = view.calls.size();
        PokeEverything(window);
        during.assign(view.calls.begin() + static_cast<long>(mark), view.calls.end());
    };
    window.mInstant_Click();
    // Only the tray's clicks do something: they bring the open window back to the front.
    EXPECT_THAT(during, ElementsAre("modal to front", "modal to front", "modal to front"));
    EXPECT_EQ(view.alerts, 1);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(window.OpenModal(), SplashWindow::Modal::None);
    EXPECT_TRUE(window.mPopUpSys_Opening());
    EXPECT_EQ(Get("Commands", "Type"), "1");  // the instant alert leaves the mailbox alone
}

TEST_F(ShellTest, NothingReentersWhileTheOptionsAreOpen) {
    Start();
    std::vector<std::string> during;
    view.duringOptions = [&] {
        const std::size_t mark = view.calls.size();
        PokeEverything(window);
        during.assign(view.calls.begin() + static_cast<long>(mark), view.calls.end());
    };
    window.mOptions_Click();
    EXPECT_THAT(during, ElementsAre("modal to front", "modal to front", "modal to front"));
    EXPECT_EQ(view.alerts, 0);
}

TEST_F(ShellTest, ExitAsksAndNoChangesNothing) {
    Start();
    window.mDelayed_Click();
    const std::string before = sandbox.ReadBytes("qfd.ini");
    view.calls.clear();
    view.answers = {MessageAnswer::No};
    window.mExit_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "Are you sure you wish to close QF Detect?");
    EXPECT_EQ(view.messages[0].title, "QF Detect");
    EXPECT_EQ(view.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(view.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_THAT(view.calls, ElementsAre("message"));
    EXPECT_EQ(window.TimerMode(), 2);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), before);
}

TEST_F(ShellTest, ExitYesRemovesTheIconFinishesSendingThenEndsWritingNothing) {
    Start();
    window.Timer1_Timer();
    const std::string before = sandbox.ReadBytes("qfd.ini");
    view.calls.clear();
    view.answers = {MessageAnswer::Yes};
    window.mExit_Click();
    EXPECT_THAT(view.calls, ElementsAre("message", "tray remove", "finish sending", "end"));
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), before);
}

TEST_F(ShellTest, ExitQuestionIsAskedOnceAndAnAlertMayComeMeanwhile) {
    Start();
    Set("Commands", "Type", "1");
    view.answers = {MessageAnswer::Yes};
    view.duringMessage = [&] {
        window.TrayIcon_Message(517);
        window.mExit_Click();
        window.Timer1_Timer();  // a received alert shows above the question
        EXPECT_EQ(window.OpenModal(), SplashWindow::Modal::ExitQuestion);
    };
    window.mExit_Click();
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.alerts, 1);
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "popup"), 0);
    EXPECT_EQ(view.calls.back(), "end");
}

TEST_F(ShellTest, CancelLeavesACountdownRunning) {
    Set("Settings", "Delay", "2");
    Start();
    window.mDelayed_Click();
    window.Timer1_Timer();
    view.calls.clear();
    window.mCancel_Click();
    EXPECT_THAT(view.calls, IsEmpty());
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1);
}

TEST_F(ShellTest, AboutDuringTheSplashCountdownIsStillHiddenByIt) {
    Start();
    for (int i = 0; i < 10; ++i) window.Timer1_Timer();
    window.Frame1_Click();
    EXPECT_FALSE(view.windowVisible);
    view.calls.clear();
    window.mAbout_Click();
    EXPECT_THAT(view.calls, ElementsAre("show"));  // no restore, no foreground
    EXPECT_EQ(TicksUntilHidden(100), 19);
}

TEST_F(ShellTest, ClicksAndKeysOnTheWindow) {
    Start();
    using Handler = void (SplashWindow::*)();
    for (Handler h : {&SplashWindow::Frame1_Click, &SplashWindow::imgLogo_Click,
                      &SplashWindow::lblPlatform_Click, &SplashWindow::lblVersion_Click,
                      &SplashWindow::lblCopyright_Click, &SplashWindow::lblCompany_Click,
                      &SplashWindow::lblWarning_Click, &SplashWindow::Form_KeyPress}) {
        window.mAbout_Click();
        (window.*h)();
        EXPECT_FALSE(view.windowVisible);
    }
    window.mAbout_Click();
    view.calls.clear();
    window.lblWebsite_Click();
    window.lblEmail_Click();
    EXPECT_THAT(view.calls, ElementsAre("open https://www.example.com/qfdetect/",
                                        "open mailto:quorf@example.com"));
    EXPECT_TRUE(view.windowVisible);
}

TEST_F(ShellTest, AtMostOneLinkIsHighlighted) {
    Start();
    window.lblWebsite_MouseMove();
    EXPECT_TRUE(view.websiteHovered);
    window.lblEmail_MouseMove();
    EXPECT_FALSE(view.websiteHovered);
    EXPECT_TRUE(view.emailHovered);
    window.Frame1_MouseMove();
    EXPECT_FALSE(view.emailHovered);
    window.lblEmail_MouseMove();
    window.Form_MouseMove(30.0);  // the margin
    EXPECT_FALSE(view.emailHovered);
}

}  // namespace
}  // namespace qfd::test
