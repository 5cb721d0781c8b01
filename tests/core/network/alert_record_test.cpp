// Sending an alert record: the bytes a receiver finds, and which failures a user is told about.
#include "core/network/alert_record.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/settings/ini_path.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

namespace fs = std::filesystem;

SettingsMirror Sender(std::int16_t netDelay, std::int16_t delay) {
    SettingsMirror m;
    m.myName = "Bruce";
    m.NetDelay = netDelay;
    m.Delay = delay;
    return m;
}

TEST(AlertRecord, DelayIsSentOnlyWhenTheSenderSendsItsDelay) {
    SettingsMirror instant = Sender(0, 5);
    EXPECT_EQ(TakeAlertRecord(instant).Delay, "0");
    SettingsMirror delayed = Sender(1, 5);
    EXPECT_EQ(TakeAlertRecord(delayed).Delay, " 5");
    SettingsMirror stray = Sender(7, 3);  // a hand-edited NetDelay counts as set
    EXPECT_EQ(TakeAlertRecord(stray).Delay, " 3");
}

TEST(AlertRecord, LineBreaksBecomeBlanksInTheRecordAndTheMirror) {
    SettingsMirror m = Sender(0, 5);
    m.myName = "Bruce\r\nWayne";
    m.QFtext = "Two\nlines";
    m.Atext = "A\rB";
    const AlertRecord record = TakeAlertRecord(m);
    EXPECT_EQ(record.NetName, "Bruce  Wayne");
    EXPECT_EQ(record.QFtext, "Two lines");
    EXPECT_EQ(record.Atext, "A B");
    EXPECT_EQ(m.myName, "Bruce  Wayne");
    EXPECT_EQ(m.QFtext, "Two lines");
    EXPECT_EQ(m.Atext, "A B");
}

TEST(SendNetworkAlert, NewMailboxHoldsTheRecordAsFiveWritesWouldLeaveIt) {
    test::Sandbox receiver;
    SettingsMirror m = Sender(1, 5);
    ASSERT_TRUE(SendNetworkAlert(receiver.IniPath(), TakeAlertRecord(m)).Ok());
    EXPECT_EQ(receiver.ReadBytes("qfd.ini"),
              "[Commands]\r\nDelay= 5\r\nNetName=Bruce\r\nQFtext=Quorf\r\nAtext=Alert\r\n"
              "Type=1\r\n");
}

TEST(SendNetworkAlert, ReplacesTheEarlierRecordAndKeepsEverythingElse) {
    test::Sandbox receiver;
    receiver.WriteBytes("qfd.ini",
                        "[Settings]\r\nDelay= 9\r\n\r\n[Commands]\r\nType=0\r\nDelay= 2\r\n"
                        "NetName=Sheila\r\n");
    SettingsMirror m = Sender(0, 5);
    ASSERT_TRUE(SendNetworkAlert(receiver.IniPath(), TakeAlertRecord(m)).Ok());
    EXPECT_EQ(receiver.ReadBytes("qfd.ini"),
              "[Settings]\r\nDelay= 9\r\n\r\n[Commands]\r\nType=1\r\nDelay=0\r\n"
              "NetName=Bruce\r\nQFtext=Quorf\r\nAtext=Alert\r\n");
}

TEST(SendNetworkAlert, DetectorPathGetsTheFileNameWithoutASeparator) {
    EXPECT_EQ(DetectorIniPath("/srv/share/desk/"), "/srv/share/desk/qfd.ini");
    EXPECT_EQ(DetectorIniPath("\\\\server\\share\\"), "\\\\server\\share\\qfd.ini");
}

// The failing-folder matrix: what is written, and whether the user is told.
class FailingFolder : public ::testing::Test {
  protected:
    WriteOutcome SendTo(const std::string& iniPath) {
        SettingsMirror m = Sender(0, 5);
        return SendNetworkAlert(iniPath, TakeAlertRecord(m));
    }
    test::Sandbox sandbox;
};

TEST_F(FailingFolder, MissingFolderFailsSilentlyAndCreatesNothing) {
    const WriteOutcome outcome = SendTo(sandbox.Path("gone/qfd.ini"));
    EXPECT_FALSE(outcome.Ok());
    EXPECT_FALSE(ShowsErrorMessage(outcome));
    EXPECT_FALSE(sandbox.Exists("gone"));
}

TEST_F(FailingFolder, ReadOnlySettingsFileFailsSilentlyAndStaysAsItWas) {
    sandbox.WriteBytes("qfd.ini", "[Commands]\r\nType=0\r\n");
    ::chmod(sandbox.IniPath().c_str(), 0444);
    const WriteOutcome outcome = SendTo(sandbox.IniPath());
    EXPECT_FALSE(ShowsErrorMessage(outcome));
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Commands]\r\nType=0\r\n");
}

#ifndef _WIN32
// Windows has no pipes inside folders; its own pipes are tested in tests/win32.
TEST_F(FailingFolder, FolderOrPipeInPlaceOfTheFileFailsSilently) {
    fs::create_directory(sandbox.Path("a"));
    fs::create_directory(sandbox.Path("a/qfd.ini"));
    fs::create_directory(sandbox.Path("b"));
    ASSERT_EQ(::mkfifo(sandbox.Path("b/qfd.ini").c_str(), 0644), 0);
    for (const char* path : {"a/qfd.ini", "b/qfd.ini"}) {
        const WriteOutcome outcome = SendTo(sandbox.Path(path));
        EXPECT_FALSE(outcome.Ok()) << path;
        EXPECT_FALSE(ShowsErrorMessage(outcome)) << path;
    }
}
#endif

TEST_F(FailingFolder, PathLongerThanThePlatformAllowsShowsTheErrorMessage) {
    const std::string tooLong = sandbox.Path(std::string(300, 'd') + "/qfd.ini");
    const WriteOutcome outcome = SendTo(tooLong);
    ASSERT_TRUE(ShowsErrorMessage(outcome));
    EXPECT_EQ(ErrorNumber(outcome), 206);
    EXPECT_EQ(ErrorDescription(outcome), "The filename or extension is too long.");
}

}  // namespace
}  // namespace qfd
