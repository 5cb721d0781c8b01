// Many values in one reading, many writes in one replacement.
#include "core/settings/ini_transaction.h"

#include <string>

#include <gtest/gtest.h>

#include "core/settings/ini_snapshot.h"
#include "tests/support/sandbox.h"
#ifndef _WIN32
#include "tests/support/forked_child.h"
#endif

namespace qfd {
namespace {

constexpr const char* kRecordKeys[] = {"Delay", "NetName", "QFtext", "Atext", "Type"};

TEST(IniSnapshot, ReadsLikeReadIni) {
    test::Sandbox sandbox;
    sandbox.WriteBytes(
        "qfd.ini", "[Commands]\r\nType=1\r\nNetName=\r\nQFtext=" + std::string(300, 'q') + "\r\n");
    const IniSnapshot snap = IniSnapshot::Load(sandbox.IniPath());
    EXPECT_TRUE(snap.FileFound());
    EXPECT_EQ(snap.Read("commands", "TYPE", "0"), "1");
    EXPECT_EQ(snap.Read("Commands", "NetName", "(from unknown)"), "");
    EXPECT_EQ(snap.Read("Commands", "Delay", "0  "), "0");
    EXPECT_EQ(snap.Read("Commands", "QFtext", ""), std::string(254, 'q'));
}

TEST(IniSnapshot, MissingOrUnreadableFileGivesDefaults) {
    test::Sandbox sandbox;
    EXPECT_FALSE(IniSnapshot::Load(sandbox.IniPath()).FileFound());
    EXPECT_EQ(IniSnapshot::Load(sandbox.IniPath()).Read("Commands", "Type", "0"), "0");
    EXPECT_FALSE(sandbox.Exists("qfd.ini"));
}

TEST(IniTransaction, WritesAllKeysInOrderAsSeparateWritesWould) {
    test::Sandbox sandbox;
    const WriteOutcome outcome = ModifyIni(sandbox.IniPath(), [](IniTransaction& t) {
        std::string delay = " 3", name = "Bruce", top = "Two\r\nlines", bottom = "Alert",
                    type = "1";
        t.Write("Commands", "Delay", delay);
        t.Write("Commands", "NetName", name);
        t.Write("Commands", "QFtext", top);
        t.Write("Commands", "Atext", bottom);
        t.Write("Commands", "Type", type);
        EXPECT_EQ(top, "Two  lines");
        EXPECT_EQ(t.Read("Commands", "Delay", "0"), "3");  // sees its own writes
    });
    EXPECT_TRUE(outcome.Ok());
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"),
              "[Commands]\r\nDelay= 3\r\nNetName=Bruce\r\nQFtext=Two  lines\r\nAtext=Alert\r\n"
              "Type=1\r\n");
}

TEST(IniTransaction, ValueOverTheLimitCancelsEveryWrite) {
    test::Sandbox sandbox;
    sandbox.WriteBytes("qfd.ini", "[Commands]\r\nType=0\r\n");
    const WriteOutcome outcome = ModifyIni(sandbox.IniPath(), [](IniTransaction& t) {
        std::string type = "1", huge(40000, 'x');
        t.Write("Commands", "Type", type);
        t.Write("Commands", "QFtext", huge);
    });
    EXPECT_EQ(outcome.error, StoreError::ValueTooLong);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Commands]\r\nType=0\r\n");
}

TEST(IniTransaction, NothingWrittenLeavesTheFileUntouched) {
    test::Sandbox sandbox;
    const WriteOutcome outcome = ModifyIni(sandbox.IniPath(), [](IniTransaction& t) {
        EXPECT_EQ(t.Read("Commands", "Type", "0"), "0");
    });
    EXPECT_TRUE(outcome.Ok());
    EXPECT_FALSE(outcome.changed);
    EXPECT_FALSE(sandbox.Exists("qfd.ini"));
}

#ifndef _WIN32
// Forks a writer; the Windows form with real processes is in tests/win32.
TEST(IniTransaction, ReaderNeverSeesHalfARecord) {
    test::Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    test::ForkedChild writer([&] {
        for (int i = 0; i < 1500; ++i) {
            ModifyIni(ini, [i](IniTransaction& t) {
                for (const char* key : kRecordKeys) {
                    std::string value = std::to_string(i);
                    t.Write("Commands", key, value);
                }
            });
        }
        return 0;
    });
    int mixed = 0, reads = 0;
    while (writer.Running()) {
        const IniSnapshot snap = IniSnapshot::Load(ini);
        const std::string first = snap.Read("Commands", kRecordKeys[0], "none");
        for (const char* key : kRecordKeys) {
            if (snap.Read("Commands", key, "none") != first) ++mixed;
        }
        ++reads;
    }
    EXPECT_EQ(mixed, 0) << "of " << reads << " readings";
}
#endif

}  // namespace
}  // namespace qfd
