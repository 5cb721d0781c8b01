// Permissions as an unprivileged user sees them: qfdctl runs as "nobody" through setpriv, since
// the superuser ignores file modes.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/child_process.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

test::ChildRun RunAsNobody(const std::vector<std::string>& qfdctlArgs) {
    std::vector<std::string> args = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                     QFDCTL_PATH};
    args.insert(args.end(), qfdctlArgs.begin(), qfdctlArgs.end());
    return test::RunProgram(args);
}

class Permissions : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
        if (RunAsNobody({"--help"}).exitCode != 0)
            GTEST_SKIP() << "setpriv cannot run qfdctl as nobody";
        ::chmod(sandbox.Dir().c_str(), 0755);  // nobody may enter, but not create files
    }
    void Own(const std::string& path, uid_t uid, mode_t mode) {
        ASSERT_EQ(::chown(path.c_str(), uid, uid), 0);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    }
    static uid_t Owner(const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        return st.st_uid;
    }

    test::Sandbox sandbox;
    std::string ini = sandbox.IniPath();
};

TEST_F(Permissions, OwnFileWithoutWriteBitIsNotWritten) {
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=v\r\n");
    Own(sandbox.Dir().string(), kNobody, 0755);
    Own(ini, kNobody, 0444);
    EXPECT_EQ(RunAsNobody({"write", ini, "S", "k", "w"}).exitCode, 1);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=v\r\n");
}

TEST_F(Permissions, SharedFileInAFolderWithoutWriteAccessIsRewrittenInPlace) {
    // Another user's installation on a share: the file is writable, its folder is not.
    sandbox.WriteBytes("qfd.ini", "[Commands]\r\nType=0\r\n");
    Own(ini, 0, 0666);
    EXPECT_EQ(RunAsNobody({"write", ini, "Commands", "Type", "1"}).exitCode, 0);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Commands]\r\nType=1\r\n");
    EXPECT_EQ(Owner(ini), 0u);
    EXPECT_FALSE(sandbox.Exists("qfd.ini.tmp"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.lock"));
}

TEST_F(Permissions, OthersFileIsRewrittenInPlaceAndKeepsItsOwner) {
    ::chmod(sandbox.Dir().c_str(), 0777);
    sandbox.WriteBytes("qfd.ini", "[Commands]\r\nType=0\r\n");
    Own(ini, 0, 0666);
    EXPECT_EQ(RunAsNobody({"write", ini, "Commands", "Type", "1"}).exitCode, 0);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Commands]\r\nType=1\r\n");
    EXPECT_EQ(Owner(ini), 0u);
}

TEST_F(Permissions, OwnFileIsReplacedAndKeepsOwnerAndMode) {
    ::chmod(sandbox.Dir().c_str(), 0777);
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=v\r\n");
    Own(ini, kNobody, 0640);
    EXPECT_EQ(RunAsNobody({"write", ini, "S", "k", "w"}).exitCode, 0);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[S]\r\nk=w\r\n");
    EXPECT_EQ(Owner(ini), kNobody);
    EXPECT_EQ(fs::status(ini).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(Permissions, FolderWithoutWriteAccessAndNoFileCreatesNothing) {
    EXPECT_EQ(RunAsNobody({"write", ini, "S", "k", "v"}).exitCode, 1);
    EXPECT_FALSE(sandbox.Exists("qfd.ini"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.lock"));
}

TEST_F(Permissions, UnreadableFileReadsAsTheDefault) {
    sandbox.WriteBytes("qfd.ini", "[S]\r\nk=secret\r\n");
    Own(ini, 0, 0600);
    const test::ChildRun run = RunAsNobody({"read", ini, "S", "k", "dflt"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "dflt\n");
}

}  // namespace
}  // namespace qfd
