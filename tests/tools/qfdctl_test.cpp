// qfdctl as scripts use it: output, exit codes, and the file it leaves.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/shell/autostart_entry.h"
#include "tests/support/child_process.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

test::ChildRun Qfdctl(std::vector<std::string> args) {
    args.insert(args.begin(), QFDCTL_PATH);
    return test::RunProgram(args);
}

TEST(Qfdctl, WriteThenReadRoundTripsThroughTheFile) {
    test::Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    EXPECT_EQ(Qfdctl({"write", ini, "Settings", "Delay", " 7"}).exitCode, 0);
    EXPECT_EQ(Qfdctl({"write", ini, "Settings", "QFtext", "two\nlines"}).exitCode, 0);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Settings]\r\nDelay= 7\r\nQFtext=two lines\r\n");
    const test::ChildRun read = Qfdctl({"read", ini, "settings", "DELAY"});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out, "7\n");
    EXPECT_EQ(Qfdctl({"read", ini, "Settings", "missing", "dflt"}).out, "dflt\n");
    EXPECT_EQ(Qfdctl({"read", ini, "Settings", "missing"}).out, "\n");
}

TEST(Qfdctl, FailedWriteExitsOneWithAOneLineReason) {
    test::Sandbox sandbox;
    const test::ChildRun run = Qfdctl({"write", sandbox.Path("gone/qfd.ini"), "S", "k", "v"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_NE(run.err.find("does not exist"), std::string::npos) << run.err;
}

TEST(Qfdctl, WrongUsageExitsTwoWithAUsageLine) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"frobnicate"},
                                                 {"read", "f", "s"},
                                                 {"write", "f", "s", "k"},
                                                 {"read", "f", "s", "k", "d", "extra"}}) {
        const test::ChildRun run = Qfdctl(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.rfind("usage: qfdctl", 0), 0u) << run.err;
    }
    const test::ChildRun help = Qfdctl({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"qfdctl read", "qfdctl write", "qfdctl autostart"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
}

#ifndef _WIN32
// qfdctl (by default the one built) with a home of its own.
test::ChildRun QfdctlAtHome(const test::Sandbox& home, std::vector<std::string> args,
                            const std::string& qfdctl = QFDCTL_PATH) {
    args.insert(args.begin(), {"env", "HOME=" + home.Path("home"),
                               "XDG_CONFIG_HOME=" + home.Path("config"), qfdctl, "autostart"});
    return test::RunProgram(args);
}

std::size_t EntryCount(const test::Sandbox& home) {
    std::error_code ignored;
    const std::filesystem::directory_iterator entries(home.Dir() / "config/autostart", ignored);
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

TEST(QfdctlAutostart, TwoInstallationsOfOneNameOnStatusOffAndARemovedFolder) {
    test::Sandbox home, one, two;
    // Two installations named alike; the first run by its own qfdctl, without DIR.
    const std::filesystem::path a = std::filesystem::canonical(one.Dir()) / "QF Detect";
    const std::filesystem::path b = std::filesystem::canonical(two.Dir()) / "QF Detect";
    for (const std::filesystem::path& dir : {a, b}) {
        std::filesystem::create_directory(dir);
        test::WriteFileBytes(dir / "qfd", "program");
    }
    const std::string own = (a / "qfdctl").string();
    std::filesystem::copy_file(QFDCTL_PATH, own);
    const std::string entryA = (home.Dir() / "config/autostart").string() + "/" +
                               AutostartEntryName(kNativeAutostart, a.string());
    const std::string onA = "on\nentry=" + entryA + "\nprogram=" + (a / "qfd").string() + "\n";

    EXPECT_EQ(QfdctlAtHome(home, {"status"}, own).out, "off\n");
    EXPECT_FALSE(home.Exists("config")) << "status added something";
    const test::ChildRun on = QfdctlAtHome(home, {"on"}, own);
    EXPECT_EQ(on.exitCode, 0) << on.err;
    EXPECT_EQ(on.out, onA);
    const std::string text = test::ReadFileBytes(entryA);
    EXPECT_NE(text.find("\nExec=\"" + (a / "qfd").string() + "\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nX-QFDetect-Folder=" + a.string() + "\n"), std::string::npos) << text;
    EXPECT_EQ(QfdctlAtHome(home, {"on", (a / "qfd").string()}).out, onA);  // again, harmless
    EXPECT_EQ(test::ReadFileBytes(entryA), text);
    EXPECT_EQ(QfdctlAtHome(home, {"on", b.string() + "/"}).exitCode, 0);
    EXPECT_EQ(EntryCount(home), 2u);
    EXPECT_EQ(QfdctlAtHome(home, {"status"}, own).out, onA + "other=on " + b.string() + "\n");

    // The second folder removed: its entry is broken, told as such, and removed by off.
    std::filesystem::remove_all(b);
    EXPECT_EQ(QfdctlAtHome(home, {"status", a.string()}).out,
              onA + "other=broken " + b.string() + "\n");
    EXPECT_EQ(QfdctlAtHome(home, {"status", b.string()}).out.substr(0, 7), "broken\n");
    const test::ChildRun offB = QfdctlAtHome(home, {"off", b.string()});
    EXPECT_EQ(offB.exitCode, 0) << offB.err;
    EXPECT_EQ(offB.out, "off\nother=on " + a.string() + "\n");
    EXPECT_EQ(EntryCount(home), 1u);

    EXPECT_EQ(QfdctlAtHome(home, {"off"}, own).out, "off\n");
    EXPECT_EQ(QfdctlAtHome(home, {"off"}, own).exitCode, 0);
    EXPECT_EQ(EntryCount(home), 0u);

    // No program, nothing added; wrong usage.
    const test::ChildRun refused = QfdctlAtHome(home, {"on", one.Dir().string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("holds no program"), std::string::npos) << refused.err;
    EXPECT_EQ(EntryCount(home), 0u);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"maybe"}, {"on", "x", "y"}}) {
        EXPECT_EQ(QfdctlAtHome(home, args).exitCode, 2);
    }
}
#else
TEST(QfdctlAutostart, RunValueOfTheUsersKey) {
    test::Sandbox dir;
    dir.WriteBytes("qfd.exe", "program");
    const std::string run = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string approved =
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    const test::ChildRun on = Qfdctl({"autostart", "on", dir.Dir().string()});
    ASSERT_EQ(on.exitCode, 0) << on.err;
    ASSERT_EQ(on.out.substr(0, 3), "on\n");
    const std::size_t nameAt = on.out.find("\\QF Detect ");
    ASSERT_NE(nameAt, std::string::npos) << on.out;
    const std::string name = on.out.substr(nameAt + 1, on.out.find('\n', nameAt) - nameAt - 1);
    const test::ChildRun query = test::RunProgram({"reg", "query", run, "/v", name});
    EXPECT_EQ(query.exitCode, 0) << query.err;
    EXPECT_NE(query.out.find("\"" + dir.Path("qfd.exe") + "\""), std::string::npos) << query.out;

    // Turned off in Task Manager, then on again; a removed program is broken.
    test::RunProgram(
        {"reg", "add", approved, "/v", name, "/t", "REG_BINARY", "/d", "030000000000", "/f"});
    EXPECT_EQ(Qfdctl({"autostart", "status", dir.Dir().string()}).out.substr(0, 9), "disabled\n");
    EXPECT_EQ(Qfdctl({"autostart", "on", dir.Dir().string()}).out, on.out);
    std::filesystem::remove(dir.Path("qfd.exe"));
    EXPECT_EQ(Qfdctl({"autostart", "status", dir.Dir().string()}).out.substr(0, 7), "broken\n");

    const test::ChildRun off = Qfdctl({"autostart", "off", dir.Dir().string()});
    EXPECT_EQ(off.exitCode, 0) << off.err;
    EXPECT_EQ(off.out.substr(0, 4), "off\n");
    EXPECT_NE(test::RunProgram({"reg", "query", run, "/v", name}).exitCode, 0);
}
#endif

}  // namespace
}  // namespace qfd
