// The receiving side of the mailbox with real files: countdown, delivery, and records that arrive
// while an alert is open.
#include "core/network/mailbox.h"

#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/settings/ini_access.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

class MailboxTest : public ::testing::Test {
  protected:
    void Receive(const std::string& delay, const std::string& name) {
        ASSERT_TRUE(SendNetworkAlert(ini, AlertRecord{delay, name, "Quorf", "Alert"}).Ok());
    }
    MailboxRecord Look() {
        const std::optional<MailboxRecord> record = LookIntoMailbox(ini, "Own top", "Own bottom");
        EXPECT_TRUE(record.has_value()) << "the look was postponed";
        return record.value_or(MailboxRecord{});
    }
    std::string Key(const char* key) { return ReadIni(ini, "Commands", key, "missing"); }

    test::Sandbox sandbox;
    std::string ini = sandbox.IniPath();
};

TEST_F(MailboxTest, EmptyMailboxWaitsForNothing) {
    EXPECT_FALSE(Look().Waiting());
    EXPECT_FALSE(sandbox.Exists("qfd.ini"));
}

TEST_F(MailboxTest, MissingKeysTakeTheReceiversDefaults) {
    sandbox.WriteBytes("qfd.ini", "[Commands]\r\nType=1\r\n");
    const MailboxRecord r = Look();
    EXPECT_TRUE(r.Waiting());
    EXPECT_EQ(r.Delay, "0");
    EXPECT_EQ(r.NetName, "(from unknown)");
    EXPECT_EQ(r.QFtext, "Own top");
    EXPECT_EQ(r.Atext, "Own bottom");
    sandbox.WriteBytes("qfd.ini", "[Commands]\r\nType=\r\nNetName=\r\n");
    EXPECT_TRUE(Look().Waiting());  // an empty Type is not "0"
    EXPECT_EQ(Look().NetName, "");
}

TEST_F(MailboxTest, WaitingTimeCountsDownInTheFileThenTheRecordIsDue) {
    Receive(" 3", "Bruce");
    MailboxRecord due;
    std::string seen;
    for (int tick = 0; tick < 3; ++tick) {
        ASSERT_EQ(CountDownWaitingTime(ini, Look(), due), Countdown::Waiting);
        seen += Key("Delay") + ",";
    }
    EXPECT_EQ(seen, "2,1,0,");
    EXPECT_NE(sandbox.ReadBytes("qfd.ini").find("Delay= 0\r\n"), std::string::npos);
    ASSERT_EQ(CountDownWaitingTime(ini, Look(), due), Countdown::Due);
    EXPECT_EQ(due.NetName, "Bruce");
    EXPECT_EQ(Key("Type"), "1");  // only the closed alert clears it
}

TEST_F(MailboxTest, DamagedWaitingTimeShowsAtOnce) {
    Receive("soon", "Bruce");
    MailboxRecord due;
    EXPECT_EQ(CountDownWaitingTime(ini, Look(), due), Countdown::Due);
}

TEST_F(MailboxTest, RecordWrittenBetweenTheLookAndTheCountdownIsHonoured) {
    Receive("0", "Bruce");
    const MailboxRecord seen = Look();
    Receive(" 5", "Sheila");  // lands after the look
    MailboxRecord due;
    EXPECT_EQ(CountDownWaitingTime(ini, seen, due), Countdown::Waiting);
    EXPECT_EQ(Key("Delay"), "4");
    EXPECT_EQ(Key("NetName"), "Sheila");
}

TEST_F(MailboxTest, ClosingTheAlertClearsOnlyTheRecordThatWasShown) {
    Receive("0", "Bruce");
    MailboxRecord shown;
    ASSERT_EQ(CountDownWaitingTime(ini, Look(), shown), Countdown::Due);
    MarkMailboxDone(ini, shown);
    EXPECT_EQ(Key("Type"), "0");

    Receive("0", "Bruce");
    ASSERT_EQ(CountDownWaitingTime(ini, Look(), shown), Countdown::Due);
    Receive("0", "Sheila");  // arrives while the alert is open
    MarkMailboxDone(ini, shown);
    EXPECT_EQ(Key("Type"), "1");
    EXPECT_EQ(Look().NetName, "Sheila");  // delivered at the next look
}

TEST_F(MailboxTest, ReadOnlyMailboxStillDeliversButCannotCountDown) {
    Receive("0", "Bruce");
    ::chmod(ini.c_str(), 0444);
    MailboxRecord due;
    EXPECT_EQ(CountDownWaitingTime(ini, Look(), due), Countdown::Due);
    EXPECT_EQ(due.NetName, "Bruce");
    MarkMailboxDone(ini, due);
    EXPECT_EQ(Key("Type"), "1");
}

}  // namespace
}  // namespace qfd
