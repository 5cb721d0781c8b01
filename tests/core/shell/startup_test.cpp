// Start-up of frmSplash: its order, the single-instance refusal and the splash countdown it primes.
#include <sys/stat.h>

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings/number_form.h"
#include "tests/core/shell/shell_fixture.h"

namespace qfd::test {
namespace {

using ::testing::ElementsAre;

TEST_F(ShellTest, StartsInOrderAndShowsTheSplash) {
    Set("Settings", "Latency", "250");
    ASSERT_TRUE(window.Form_Load());
    EXPECT_THAT(view.calls, ElementsAre("version Version 1.1.2", "menus", "tray add",
                                        "interval 250", "timer on", "show"));
    EXPECT_EQ(mirror.IniPath, sandbox.IniPath());
    EXPECT_EQ(mirror.Latency, 250);
    EXPECT_EQ(window.TimerMode(), 0);
    EXPECT_FALSE(window.SplashDone());
}

TEST_F(ShellTest, SecondInstanceShowsTheMessageAndTouchesNothing) {
    anotherRunning = true;
    EXPECT_FALSE(window.Form_Load());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text,
              "You can only run QF Detect once.\r\n\r\n"
              "Right-click on the QF Detect icon in the bottom right-hand corner for options.");
    EXPECT_EQ(view.messages[0].title, "QF Detect");
    EXPECT_EQ(view.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(view.messages[0].buttons, MessageButtons::Ok);
    EXPECT_THAT(view.calls, ElementsAre("message"));
    EXPECT_TRUE(std::filesystem::is_empty(sandbox.Dir()));
}

TEST_F(ShellTest, SenderNameIsEmptiedAtStart) {
    mirror.SenderName = "left over";
    Start();
    EXPECT_EQ(mirror.SenderName, "");
}

struct LatencyCase {
    const char* stored;  // nullptr: no Latency key
    const char* splashDelay;
    int interval;
};

class StartupLatency : public ShellTest, public ::testing::WithParamInterface<LatencyCase> {};

TEST_P(StartupLatency, PrimesTheCountdownAndTheInterval) {
    const LatencyCase& c = GetParam();
    if (c.stored) Set("Settings", "Latency", c.stored);
    Start();
    // The raw line as it lands in the file: number form with one blank before the digits.
    EXPECT_NE(
        sandbox.ReadBytes("qfd.ini").find(std::string("splashDelay=") + c.splashDelay + "\r\n"),
        std::string::npos)
        << sandbox.ReadBytes("qfd.ini");
    EXPECT_EQ(view.timerInterval, c.interval);
    // A stored latency below the minimum is left as it is.
    EXPECT_EQ(Get("Settings", "Latency", "<missing>"), c.stored ? c.stored : "<missing>");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartupLatency,
    ::testing::Values(LatencyCase{nullptr, " 30", 100}, LatencyCase{"100", " 30", 100},
                      LatencyCase{"1000", " 3", 1000}, LatencyCase{"2000", " 1", 2000},
                      LatencyCase{"3001", " 0", 3001}, LatencyCase{"32767", " 0", 32767},
                      LatencyCase{"10", " 300", 10}, LatencyCase{"9", " 300", 10},
                      LatencyCase{"0", " 300", 10}, LatencyCase{"-100", " 300", 10},
                      LatencyCase{"99999", " 30", 100}, LatencyCase{"fast", " 30", 100}));

TEST_F(ShellTest, NetworkMenusComeFromTheDetectorList) {
    Set("Network Settings", "Option 3", "\\\\pc1\\qfd\\");
    Set("Network Settings", "Option 7", "/mnt/pc2/qfd/");
    Set("Network Settings", "Option3", "/not/a/slot/");
    Start();
    ASSERT_EQ(view.menus.networkItems.size(), 2u);
    EXPECT_EQ(view.menus.networkItems[0].caption, "\\\\pc1\\qfd\\");
    EXPECT_EQ(view.menus.networkItems[1].caption, "/mnt/pc2/qfd/");
    ASSERT_EQ(view.menus.allButItems.size(), 2u);
    EXPECT_TRUE(view.menus.allButItems[1].enabled);
}

}  // namespace
}  // namespace qfd::test
