// The main timer: splash countdown, mailbox delivery with its waiting time, the delayed alert.
#include <sys/stat.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/platform/file_lock.h"
#include "core/settings/profile_store.h"
#include "tests/core/platform/stamp_keeping_write.h"
#include "tests/core/shell/shell_fixture.h"

namespace qfd::test {
namespace {

struct SplashCase {
    const char* latency;
    int hidingTick;
};

class SplashCountdown : public ShellTest, public ::testing::WithParamInterface<SplashCase> {};

TEST_P(SplashCountdown, HidesTheWindowAtTheLastTick) {
    Set("Settings", "Latency", GetParam().latency);
    Start();
    EXPECT_EQ(TicksUntilHidden(400), GetParam().hidingTick);
    EXPECT_TRUE(window.SplashDone());
    // Once done the countdown is over for the run: the file keeps what the last tick wrote.
    const std::string left = Get("Settings", "splashDelay");
    window.Timer1_Timer();
    EXPECT_EQ(Get("Settings", "splashDelay"), left);
}

INSTANTIATE_TEST_SUITE_P(Rows, SplashCountdown,
                         ::testing::Values(SplashCase{"100", 29}, SplashCase{"1000", 2},
                                           SplashCase{"2000", 1}, SplashCase{"5000", 1},
                                           SplashCase{"0", 299}));

TEST_F(ShellTest, DefaultSplashLeavesOneInTheFile) {
    Start();
    EXPECT_EQ(TicksUntilHidden(100), 29);
    EXPECT_EQ(Get("Settings", "splashDelay"), "1");
}

TEST_F(ShellTest, SplashCountdownFollowsTheFileEvenWhenDamaged) {
    Start();
    Set("Settings", "splashDelay", "many");  // read as the default 70
    window.Timer1_Timer();
    EXPECT_EQ(Get("Settings", "splashDelay"), "69");
    Set("Settings", "splashDelay", "-32768");  // never written below the 16-bit range
    window.Timer1_Timer();
    EXPECT_EQ(Get("Settings", "splashDelay"), "-32768");
    EXPECT_TRUE(window.SplashDone());
}

TEST_F(ShellTest, ReadOnlyFileIsToldOnceAndNeitherKeepsTheSplashUpNorTheAlert) {
    const auto writable = [&](bool yes) {
        ASSERT_EQ(::chmod(sandbox.IniPath().c_str(), yes ? 0644 : 0444), 0);
    };
    sandbox.WriteBytes("qfd.ini", "[Settings]\r\nmyName=Pat\r\n");
    writable(false);
    ASSERT_TRUE(window.Form_Load());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_THAT(view.messages[0].text, ::testing::HasSubstr(sandbox.IniPath()));
    EXPECT_THAT(view.messages[0].text, ::testing::HasSubstr("cannot be written: access denied"));
    EXPECT_EQ(view.messages[0].title, "QF Detect");
    // The countdown goes on in memory.
    EXPECT_EQ(TicksUntilHidden(100), 29);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Settings]\r\nmyName=Pat\r\n");

    // A waiting record is shown once, though it stays; another record in its place is news.
    for (const char* text : {"Hark", "Again"}) {
        writable(true);
        Set("Commands", "QFtext", text);
        Set("Commands", "Type", "1");
        writable(false);
        const std::string bytes = sandbox.ReadBytes("qfd.ini");
        for (int tick = 0; tick < 20; ++tick) window.Timer1_Timer();
        EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), bytes);
    }
    EXPECT_EQ(view.alerts, 2);
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(ShellTest, SettingsFileTooLargeIsToldOnceAndTheSplashCloses) {
    sandbox.WriteBytes("qfd.ini", "[Settings]\r\n" + std::string(5 * 1024 * 1024, ';'));
    ASSERT_TRUE(window.Form_Load());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_THAT(view.messages[0].text, ::testing::HasSubstr("larger than 4 MiB"));
    EXPECT_EQ(TicksUntilHidden(100), 29);
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(ShellTest, UsableSettingsFileBringsNoMessage) {
    Start();
    TicksUntilHidden(100);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ShellTest, AlertWithoutWaitingIsShownAtTheNextTick) {
    Start();
    TicksUntilHidden(100);
    Set("Commands", "Type", "1");
    Set("Commands", "QFtext", "Hark");
    Set("Commands", "Atext", "Bunkum");
    std::string seen;
    view.duringAlert = [&] {
        seen = mirror.QFtext + "/" + mirror.Atext + "/" + mirror.SenderName;
        EXPECT_EQ(window.TimerMode(), 1);
        EXPECT_FALSE(view.timerEnabled);
        EXPECT_EQ(Get("Commands", "Type"), "1");  // still waiting while the window is open
    };
    view.calls.clear();
    window.Timer1_Timer();
    EXPECT_EQ(seen, "Hark/Bunkum/(from unknown)");
    EXPECT_EQ(Get("Commands", "Type"), "0");
    EXPECT_EQ(window.TimerMode(), 0);
    EXPECT_TRUE(view.timerEnabled);
    EXPECT_EQ(view.timerInterval, 100);
    EXPECT_THAT(view.calls, ::testing::ElementsAre("hide", "timer off", "alert", "alert closed",
                                                   "interval 100", "timer on"));
}

TEST_F(ShellTest, WaitingTimeIsCountedDownInTheFile) {
    Set("Settings", "Latency", "250");
    Start();
    Set("Commands", "Delay", "3");
    Set("Commands", "NetName", "");
    Set("Commands", "Type", "1");
    std::vector<std::string> delays;
    for (int i = 0; i < 3; ++i) {
        window.Timer1_Timer();
        delays.push_back(Get("Commands", "Delay"));
        EXPECT_EQ(view.timerInterval, 1000);
    }
    EXPECT_EQ(delays, (std::vector<std::string>{"2", "1", "0"}));
    EXPECT_EQ(view.alerts, 0);
    std::string sender = "<none>";
    view.duringAlert = [&] { sender = mirror.SenderName; };
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1);
    EXPECT_EQ(sender, "");  // an empty NetName gives an empty sender line
    EXPECT_EQ(view.timerInterval, 250);
    EXPECT_EQ(Get("Commands", "Type"), "0");
}

struct TypeCase {
    const char* type;  // nullptr: no Type key
    bool alert;
};

class MailboxType : public ShellTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(MailboxType, OnlyZeroMeansNothingWaits) {
    Start();
    if (GetParam().type) Set("Commands", "Type", GetParam().type);
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, GetParam().alert ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, MailboxType,
                         ::testing::Values(TypeCase{nullptr, false}, TypeCase{"0", false},
                                           TypeCase{" 0 ", false}, TypeCase{"1", true},
                                           TypeCase{"", true}, TypeCase{"00", true},
                                           TypeCase{"O", true}, TypeCase{"-1", true}));

TEST_F(ShellTest, DamagedWaitingTimesAreShownAtOnce) {
    Start();
    for (const char* delay : {"soon", "-4", "99999"}) {
        Set("Commands", "Delay", delay);
        Set("Commands", "Type", "1");
        const int before = view.alerts;
        window.Timer1_Timer();
        EXPECT_EQ(view.alerts, before + 1) << delay;
    }
}

TEST_F(ShellTest, ReceivedTextsServeOneAlert) {
    Start();
    Set("Commands", "QFtext", "Theirs");
    Set("Commands", "Type", "1");
    window.Timer1_Timer();
    EXPECT_EQ(mirror.QFtext, "Theirs");  // the alert window puts the own texts back on unload
    // A record without texts keeps what the mirror holds.
    mirror.QFtext = "Quorf";
    Set("Commands", "QFtext", "");
    Set("Commands", "Type", "1");
    window.Timer1_Timer();
    EXPECT_EQ(mirror.QFtext, "");
}

TEST_F(ShellTest, ReceivedAlertHidesTheSplashWhoseCountdownGoesOn) {
    Start();
    window.Timer1_Timer();
    Set("Commands", "Type", "1");
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1);
    EXPECT_FALSE(view.windowVisible);
    EXPECT_FALSE(window.SplashDone());
    EXPECT_EQ(Get("Settings", "splashDelay"), "28");
    while (!window.SplashDone()) window.Timer1_Timer();
    EXPECT_EQ(Get("Settings", "splashDelay"), "1");
}

TEST_F(ShellTest, RecordArrivingDuringAnAlertIsShownNext) {
    Start();
    Set("Commands", "NetName", "Ann");
    Set("Commands", "Type", "1");
    view.duringAlert = [&] {
        view.duringAlert = nullptr;
        Set("Commands", "NetName", "Bo");  // another sender, while the first alert is open
        Set("Commands", "Type", "1");
    };
    window.Timer1_Timer();
    EXPECT_EQ(Get("Commands", "Type"), "1");
    std::string sender;
    view.duringAlert = [&] { sender = mirror.SenderName; };
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 2);
    EXPECT_EQ(sender, "Bo");
    EXPECT_EQ(Get("Commands", "Type"), "0");
}

TEST_F(ShellTest, RecordWrittenDuringACountdownReplacesIt) {
    Start();
    Set("Commands", "Delay", "3");
    Set("Commands", "QFtext", "Old");
    Set("Commands", "Type", "1");
    window.Timer1_Timer();
    EXPECT_EQ(Get("Commands", "Delay"), "2");
    Set("Commands", "Delay", "1");
    Set("Commands", "QFtext", "New");
    window.Timer1_Timer();
    EXPECT_EQ(Get("Commands", "Delay"), "0");
    std::string text;
    view.duringAlert = [&] { text = mirror.QFtext; };
    window.Timer1_Timer();
    EXPECT_EQ(text, "New");
}

TEST_F(ShellTest, TicksThatFindTheLockBusyArePostponedNeverLostNorRepeated) {
    Start();
    const std::string lockPath = LockPathFor(sandbox.IniPath());
    const auto holdLock = [&] {
        return FileLock::Acquire(lockPath, FileLock::Mode::Exclusive, std::chrono::milliseconds(0),
                                 true);
    };
    // A whole record: the look, which never waits, takes it as it stands.
    for (const char* key : {"NetName", "QFtext", "Atext"}) Set("Commands", key, "x");
    Set("Commands", "Delay", "1");
    Set("Commands", "Type", "1");
    std::optional<FileLock> other = holdLock();
    ASSERT_TRUE(other->Held());
    const std::string splashCount = Get("Settings", "splashDelay");
    window.Timer1_Timer();
    EXPECT_EQ(Get("Commands", "Delay"), "1") << "the countdown waits for the lock";
    EXPECT_EQ(Get("Settings", "splashDelay"), splashCount) << "so does the splash's";
    other.reset();
    window.Timer1_Timer();
    EXPECT_EQ(Get("Commands", "Delay"), "0");
    // Another process takes the lock while the alert is open: the clearing waits for it.
    view.duringAlert = [&] { other = holdLock(); };
    window.Timer1_Timer();
    view.duringAlert = nullptr;
    EXPECT_EQ(view.alerts, 1);
    window.Timer1_Timer();
    EXPECT_EQ(Get("Commands", "Type"), "1");
    other.reset();
    window.Timer1_Timer();
    EXPECT_EQ(Get("Commands", "Type"), "0");
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1) << "the record was shown once";

    // While its clearing waits for the lock, a peer that takes no lock clears the shown record
    // and sends the same one again: the new record is shown, not cleared as the old one.
    Set("Commands", "Type", "1");
    view.duringAlert = [&] { other = holdLock(); };
    window.Timer1_Timer();
    view.duringAlert = nullptr;
    ASSERT_EQ(view.alerts, 2);
    const std::string waiting = sandbox.ReadBytes("qfd.ini");
    const std::size_t type = waiting.find("Type=1");
    ASSERT_NE(type, std::string::npos);
    std::string cleared = waiting;
    cleared.replace(type, 6, "Type=0");
    sandbox.WriteBytes("qfd.ini", cleared);
    window.Timer1_Timer();
    sandbox.WriteBytes("qfd.ini", waiting);
    other.reset();
    window.Timer1_Timer();
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 3);
}

TEST_F(ShellTest, DelayedAlertComesOnceAfterDelaySecondsWithoutPolling) {
    Set("Settings", "Delay", "5");
    Start();
    window.mDelayed_Click();
    EXPECT_EQ(view.timerInterval, 1000);
    EXPECT_EQ(window.TimerMode(), 2);
    Set("Commands", "Type", "1");
    const std::string splash = Get("Settings", "splashDelay");
    for (int i = 0; i < 4; ++i) window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 0);
    EXPECT_EQ(window.DelayCount(), 4);
    EXPECT_EQ(Get("Settings", "splashDelay"), splash);  // nothing polled during the countdown
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1);
    EXPECT_EQ(window.TimerMode(), 0);
    EXPECT_EQ(view.timerInterval, 100);
    EXPECT_EQ(Get("Commands", "Type"), "1");  // the waiting record is seen at the next poll
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 2);
}

TEST_F(ShellTest, SmallDelaysAlertAtTheFirstSecond) {
    for (const char* delay : {"1", "0", "-3"}) {
        mirror.Delay = 0;
        Set("Settings", "Delay", delay);
        Start();
        const int before = view.alerts;
        window.mDelayed_Click();
        window.Timer1_Timer();
        EXPECT_EQ(view.alerts, before + 1) << delay;
    }
}

TEST_F(ShellTest, DelayedAlertChosenAgainStartsFromZero) {
    Set("Settings", "Delay", "3");
    Start();
    window.mDelayed_Click();
    window.Timer1_Timer();
    window.Timer1_Timer();
    window.mDelayed_Click();
    EXPECT_EQ(window.DelayCount(), 0);
    window.Timer1_Timer();
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 0);
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1);
}

// A wake: the front end heard that the settings file changed, and drained the notices.

class WakeTest : public ShellTest {
  protected:
    void SetUp() override {
        view.duringAlert = [this] { sender = mirror.SenderName; };
    }
    // What another installation's send leaves: one locked replacement of the whole file.
    void Receive(const char* delay, const char* name) {
        ASSERT_TRUE(
            SendNetworkAlert(sandbox.IniPath(), AlertRecord{delay, name, "Hark", "Bunkum"}).Ok());
    }

    std::string sender;  // of the alert shown last
};

TEST_F(WakeTest, RecordFromAnotherWriterIsShownAtOnceAndNothingIsCounted) {
    Start();
    const std::string splash = Get("Settings", "splashDelay");
    Receive("0", "Ann");
    window.MailboxMayHaveChanged();
    EXPECT_EQ(view.alerts, 1);
    EXPECT_EQ(sender, "Ann");
    EXPECT_EQ(Get("Commands", "Type"), "0") << "cleared as after a tick's alert";
    EXPECT_THAT(view.calls, ::testing::ElementsAre("hide", "timer off", "alert", "alert closed",
                                                   "interval 100", "timer on"));
    EXPECT_EQ(Get("Settings", "splashDelay"), splash) << "the splash counts ticks, not wakes";
    EXPECT_FALSE(window.SplashDone());
    // The notices of the clearing: the file stands as this program wrote it.
    window.MailboxMayHaveChanged();
    EXPECT_EQ(view.alerts, 1);
}

TEST_F(WakeTest, WaitingTimeGoesDownWithTheTicksOnly) {
    Start();
    Receive(" 3", "Ann");
    view.calls.clear();
    window.MailboxMayHaveChanged();
    EXPECT_EQ(Get("Commands", "Delay"), "3");
    EXPECT_EQ(view.alerts, 0);
    EXPECT_TRUE(view.calls.empty()) << "the timer is left as it was";
    window.Timer1_Timer();
    EXPECT_EQ(Get("Commands", "Delay"), "2");
    EXPECT_EQ(view.timerInterval, 1000);
    window.MailboxMayHaveChanged();  // the tick's own write
    EXPECT_EQ(Get("Commands", "Delay"), "2");
    // A record due at once, sent during the countdown, needs no tick.
    Receive("0", "Bo");
    window.MailboxMayHaveChanged();
    EXPECT_EQ(view.alerts, 1);
    EXPECT_EQ(sender, "Bo");
    EXPECT_EQ(view.timerInterval, 100);
}

// Every way this program writes its own file, and a look already taken: a notice of it brings no
// look. The test leaves a record due in the file with the stamp as it stood, which only a look
// would find; the next tick's poll does.
enum class OwnWrite { StartUp, WaitingTime, OptionsDialog };

class OwnWriteWake : public WakeTest, public ::testing::WithParamInterface<OwnWrite> {
  protected:
    // Writes as the row says; the bytes that a record due at once would have in their place.
    std::pair<std::string, std::string> WriteOwn() {
        switch (GetParam()) {
            case OwnWrite::StartUp:
                Start();
                break;
            case OwnWrite::WaitingTime:
                Start();
                Receive(" 2", "Ann");
                window.Timer1_Timer();
                return {"Delay= 1", "Delay= 0"};
            case OwnWrite::OptionsDialog:
                Start();
                view.duringOptions = [this] { Set("Settings", "Delay", "9"); };
                window.mOptions_Click();
                break;
        }
        return {"Type=0", "Type=1"};
    }
};

TEST_P(OwnWriteWake, BringsNoLook) {
    Set("Commands", "Type", "0");  // a cleared record, left by an earlier alert
    const auto [waiting, due] = WriteOwn();
    const int alerts = view.alerts;
    ASSERT_TRUE(ReplaceKeepingStamp(sandbox.IniPath(), waiting, due));
    window.MailboxMayHaveChanged();
    EXPECT_EQ(view.alerts, alerts);
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, alerts + 1) << "the poll finds what the stamp cannot tell";
}

INSTANTIATE_TEST_SUITE_P(Rows, OwnWriteWake,
                         ::testing::Values(OwnWrite::StartUp, OwnWrite::WaitingTime,
                                           OwnWrite::OptionsDialog));

// While a modal window is open or a delayed alert counts its seconds, a wake does nothing: the
// poll catches up once the timer runs again.
enum class Busy { Options, DelayedAlert };

class BusyWake : public WakeTest, public ::testing::WithParamInterface<Busy> {};

TEST_P(BusyWake, IsDropped) {
    Set("Settings", "Delay", "5");
    Start();
    const auto receiveAndWake = [this] {
        Receive("0", "Ann");
        window.MailboxMayHaveChanged();
        EXPECT_EQ(view.alerts, 0);
    };
    switch (GetParam()) {
        case Busy::Options:
            view.duringOptions = receiveAndWake;
            window.mOptions_Click();
            break;
        case Busy::DelayedAlert:
            window.mDelayed_Click();
            receiveAndWake();
            EXPECT_EQ(window.DelayCount(), 0);
            return;
    }
    EXPECT_EQ(view.alerts, 0);
    window.Timer1_Timer();
    EXPECT_EQ(view.alerts, 1);
    EXPECT_EQ(sender, "Ann");
}

INSTANTIATE_TEST_SUITE_P(Rows, BusyWake, ::testing::Values(Busy::Options, Busy::DelayedAlert));

}  // namespace
}  // namespace qfd::test
