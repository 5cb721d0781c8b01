// A rewrite in place cut off by a killed writer: readers take the complete contents it meant to
// write, and the next writer finishes it before its own edit.
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/network/mailbox.h"
#include "core/platform/file_access.h"
#include "core/settings/ini_access.h"
#include "core/settings/profile_store.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

namespace fs = std::filesystem;

constexpr char kPrevious[] =
    "[Settings]\r\nmyName=Bazza\r\n[Commands]\r\nType=0\r\nNetNoName=Old\r\n";
constexpr char kMeant[] =
    "[Settings]\r\nmyName=Bruce\r\n[Commands]\r\nType=1\r\nNetName=Sheila\r\n";
// What a kill in the middle of writing kMeant over kPrevious leaves: new bytes, then old.
constexpr char kTorn[] = "[Settings]\r\nmyName=Bruce\r\n[Commands]\r\nType=1\r\nNetNoName=Old\r\n";

class InterruptedRewrite : public ::testing::Test {
  protected:
    void SetUp() override {
        sandbox.WriteBytes("qfd.ini", kTorn);
        sandbox.WriteBytes("qfd.ini.redo", MakeRedoRecord(kPrevious, kMeant));
        // A second name for the file: it can only be rewritten in place.
        fs::create_hard_link(ini, sandbox.Path("other-name.ini"));
    }

    test::Sandbox sandbox;
    std::string ini = sandbox.IniPath();
};

TEST_F(InterruptedRewrite, ReadersSeeTheContentsTheWriterMeant) {
    EXPECT_EQ(ReadIni(ini, "Commands", "NetName", "(missing)"), "Sheila");
    EXPECT_EQ(ReadProfileFile(ini), std::string(kMeant));
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), kTorn) << "a reader repairs nothing";
}

TEST_F(InterruptedRewrite, NextWriteFinishesItInPlaceAndClearsTheRedoFile) {
    std::string value = "Bazza";
    ASSERT_TRUE(WriteIni(ini, "Settings", "myName", value).Ok());
    const std::string expected =
        "[Settings]\r\nmyName=Bazza\r\n[Commands]\r\nType=1\r\nNetName=Sheila\r\n";
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), expected);
    EXPECT_EQ(sandbox.ReadBytes("other-name.ini"), expected) << "the file kept its identity";
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
}

TEST_F(InterruptedRewrite, WriteThatChangesNothingStillFinishesIt) {
    std::string value = "Bruce";
    ASSERT_TRUE(WriteIni(ini, "Settings", "myName", value).Ok());
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), kMeant);
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
}

TEST_F(InterruptedRewrite, OwnFileReplacedByRenameClearsTheRedoFile) {
    fs::remove(sandbox.Path("other-name.ini"));
    std::string value = "0";
    ASSERT_TRUE(WriteIni(ini, "Commands", "Type", value).Ok());
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"),
              "[Settings]\r\nmyName=Bruce\r\n[Commands]\r\nType=0\r\nNetName=Sheila\r\n");
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
}

TEST_F(InterruptedRewrite, FileChangedSinceByAPeerWithoutJournalWins) {
    // A peer that knows no redo file writes its record in place over the torn file.
    const std::string peers =
        "[Settings]\r\nmyName=Bruce\r\n[Commands]\r\nType=1\r\nNetName=Peer\r\n";
    sandbox.WriteBytes("other-name.ini", peers);
    const std::optional<MailboxRecord> seen = LookIntoMailbox(ini, "top", "bottom");
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->NetName, "Peer");
    std::string value = "Bazza";
    ASSERT_TRUE(WriteIni(ini, "Settings", "myName", value).Ok());
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"),
              "[Settings]\r\nmyName=Bazza\r\n[Commands]\r\nType=1\r\nNetName=Peer\r\n");
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
}

TEST_F(InterruptedRewrite, RedoFileOfAnotherShapeIsDroppedUnread) {
    sandbox.WriteBytes("qfd.ini.redo", kMeant);  // no header: it speaks for no rewrite
    EXPECT_EQ(ReadProfileFile(ini), std::string(kTorn));
    std::string value = "1";
    ASSERT_TRUE(WriteIni(ini, "Commands", "Type", value).Ok());
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
}

TEST(RewriteInPlace, LeavesNoJournalBehindWhenItCompletes) {
    test::Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    sandbox.WriteBytes("qfd.ini", "[Settings]\r\nDelay= 5\r\n");
    fs::create_hard_link(ini, sandbox.Path("other-name.ini"));
    std::string value = " 10";
    ASSERT_TRUE(WriteIni(ini, "Settings", "Delay", value).Ok());
    EXPECT_EQ(sandbox.ReadBytes("other-name.ini"), "[Settings]\r\nDelay= 10\r\n");
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
}

TEST(RewriteInPlace, RedoNameTakenByAFolderIsIgnored) {
    test::Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    sandbox.WriteBytes("qfd.ini", "[Settings]\r\nDelay= 5\r\n");
    fs::create_directory(sandbox.Path("qfd.ini.redo"));
    fs::create_hard_link(ini, sandbox.Path("other-name.ini"));
    EXPECT_EQ(ReadIni(ini, "Settings", "Delay", ""), "5");
    std::string value = " 7";
    ASSERT_TRUE(WriteIni(ini, "Settings", "Delay", value).Ok());
    EXPECT_EQ(ReadIni(ini, "Settings", "Delay", ""), "7");
    EXPECT_TRUE(fs::is_directory(sandbox.Path("qfd.ini.redo"))) << "not ours to remove";
}

}  // namespace
}  // namespace qfd
