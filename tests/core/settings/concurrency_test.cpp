// Several real processes on one settings file: no torn reads, no lost updates.
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings/ini_access.h"
#include "tests/support/forked_child.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

// An installation's file with the mailbox last, padded so that rewriting it takes long enough for
// a reader to run into a half-written file if nothing kept it out.
std::string InstallationFile() {
    std::string f = "[Settings]\r\nmyName=Bruce\r\nDelay= 5\r\nLatency= 100\r\nSound=101\r\n";
    f += "Colour1= 255\r\nColour2= 0\r\nColour3= 0\r\nColour4= 16777215\r\nSmall= 0\r\n";
    f += "QFtext=Quorf\r\nAtext=Alert\r\nNetDelay= 0\r\nsplashDelay= 1\r\n[Network Settings]\r\n";
    for (int i = 0; i < 20; ++i)
        f += "Option " + std::to_string(i) + "=/srv/share/desk" + std::to_string(i) + "/\r\n";
    f += "[Padding]\r\n" + std::string(200000, ';') + "\r\n";
    return f + "[Commands]\r\nType=0\r\n";
}

// The key writer w keeps its k-th value under.
std::string WriterKey(int w, int k) {
    std::string key = "w";
    key += std::to_string(w);
    key += 'k';
    return key += std::to_string(k);
}

enum class WritePath { Rename, InPlace };

std::string PathName(const ::testing::TestParamInfo<WritePath>& row) {
    return row.param == WritePath::Rename ? "Rename" : "InPlace";
}

class TornReads : public ::testing::TestWithParam<WritePath> {};

TEST_P(TornReads, ReaderSeesOnlyTheOldOrTheNewValue) {
    test::Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    sandbox.WriteBytes("qfd.ini", InstallationFile());
    if (GetParam() == WritePath::InPlace) {
        // A file owned by someone else is rewritten in place, as on a share.
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file to another user";
        ASSERT_EQ(::chown(ini.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(ini.c_str(), 0666), 0);
    }
    test::ForkedChild writer([&] {
        for (int i = 0; i < 2000; ++i) {
            std::string v = (i % 2) ? "1" : "0";
            if (!WriteIni(ini, "Commands", "Type", v).Ok()) return 1;
        }
        return 0;
    });
    int reads = 0, torn = 0;
    while (writer.Running()) {
        const std::string t = ReadIni(ini, "Commands", "Type", "missing");
        const std::string name = ReadIni(ini, "Settings", "myName", "missing");
        ++reads;
        if ((t != "0" && t != "1") || name != "Bruce") ++torn;
    }
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_GT(reads, 0);
    struct stat st {};
    ::stat(ini.c_str(), &st);
    if (GetParam() == WritePath::InPlace) {
        EXPECT_EQ(st.st_uid, 65534u);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, TornReads, ::testing::Values(WritePath::Rename, WritePath::InPlace),
                         PathName);

// Rewrites in place are journalled, and each writer under the lock decides from what it finds
// whether a redo file may be standing: the last one must still be gone at the end.
class LostUpdates : public ::testing::TestWithParam<WritePath> {};

TEST_P(LostUpdates, EveryWritersKeysHoldTheirLastValue) {
    test::Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    sandbox.WriteBytes("qfd.ini", "[Settings]\r\nmyName=Bruce\r\n");
    // A second name for the file: it can only be rewritten in place.
    if (GetParam() == WritePath::InPlace) {
        ASSERT_EQ(::link(ini.c_str(), (ini + ".2").c_str()), 0);
    }
    constexpr int kWriters = 4, kKeys = 5, kRounds = 60;
    std::vector<test::ForkedChild> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            for (int round = 0; round < kRounds; ++round) {
                for (int k = 0; k < kKeys; ++k) {
                    std::string v = std::to_string(round);
                    const std::string key = WriterKey(w, k);
                    if (!WriteIni(ini, "Commands", key, v).Ok()) return 1;
                }
            }
            return 0;
        });
    }
    for (test::ForkedChild& writer : writers) EXPECT_EQ(writer.Wait(), 0);
    for (int w = 0; w < kWriters; ++w) {
        for (int k = 0; k < kKeys; ++k) {
            const std::string key = WriterKey(w, k);
            EXPECT_EQ(ReadIni(ini, "Commands", key, "lost"), std::to_string(kRounds - 1)) << key;
        }
    }
    EXPECT_FALSE(sandbox.Exists("qfd.ini.redo"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
}

INSTANTIATE_TEST_SUITE_P(Paths, LostUpdates,
                         ::testing::Values(WritePath::Rename, WritePath::InPlace), PathName);

}  // namespace
}  // namespace qfd
