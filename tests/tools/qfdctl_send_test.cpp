// qfdctl send and status: records as the tray menu writes them, exit codes scripts rely on.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/platform/file_lock.h"
#include "core/settings/ini_access.h"
#include "core/settings/profile_store.h"
#include "tests/support/child_process.h"
#include "tests/support/forked_child.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

test::ChildRun Qfdctl(std::vector<std::string> args) {
    args.insert(args.begin(), QFDCTL_PATH);
    return test::RunProgram(args);
}

std::string Dir(const test::Sandbox& s) { return s.Dir().string(); }

TEST(QfdctlSend, WithoutAnInstallationSendsTheDefaults) {
    // A folder, or the program file in it under either platform's name (whether or not it is
    // there); a folder that is itself named like the program stays a folder.
    test::Sandbox a, b, c, d;
    std::filesystem::create_directory(d.Dir() / "qfd");
    a.WriteBytes("qfd", "program");
    const test::ChildRun run =
        Qfdctl({"send", Dir(a) + "/qfd", Dir(b) + "/", Dir(c) + "/qfd.exe", Dir(d) + "/qfd"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(c.Exists("qfd.exe"));
    for (const std::filesystem::path& dir : {a.Dir(), b.Dir(), c.Dir(), d.Dir() / "qfd"}) {
        EXPECT_EQ(ReadIni((dir / "qfd.ini").string(), "Commands", "Type", "0"), "1") << dir;
    }
    EXPECT_EQ(Qfdctl({"status", Dir(a) + "/qfd"}).out.substr(0, 8), "waiting\n");
    for (const test::Sandbox* s : {&a, &b}) {
        EXPECT_EQ(s->ReadBytes("qfd.ini"),
                  "[Commands]\r\nDelay=0\r\nNetName=\r\nQFtext=Quorf\r\nAtext=Alert\r\nType=1\r\n");
    }
}

TEST(QfdctlSend, TakesTheSendingInstallationsSettingsAndOverrides) {
    test::Sandbox from, to;
    from.WriteBytes("qfd.ini",
                    "[Settings]\r\nmyName=Sheila\r\nDelay= 3\r\nNetDelay= 1\r\nQFtext=Rubbish\r\n");
    EXPECT_EQ(Qfdctl({"send", "--from", Dir(from), "--bottom", "Detected", Dir(to)}).exitCode, 0);
    EXPECT_EQ(to.ReadBytes("qfd.ini"),
              "[Commands]\r\nDelay= 3\r\nNetName=Sheila\r\n"
              "QFtext=Rubbish\r\nAtext=Detected\r\nType=1\r\n");
    EXPECT_EQ(
        Qfdctl({"send", "--from", Dir(from), "--delay", "0", "--name", "X", Dir(to)}).exitCode, 0);
    EXPECT_EQ(ReadIni(to.IniPath(), "Commands", "Delay", ""), "0");
    EXPECT_EQ(ReadIni(to.IniPath(), "Commands", "NetName", ""), "X");
}

TEST(QfdctlSend, RefusesTextsTheReceiverWouldCutAndBadNumbers) {
    test::Sandbox to;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"send", "--top", std::string(255, 't'), Dir(to)},
          {"send", "--name", std::string(300, 'n'), Dir(to)},
          {"send", "--delay", "-1", Dir(to)},
          {"send", "--delay", "1.5", Dir(to)},
          {"send", "--wait", "soon", Dir(to)},
          {"send", "--top"},
          {"send", "--colour", "red", Dir(to)}}) {
        const test::ChildRun run = Qfdctl(args);
        EXPECT_EQ(run.exitCode, 2) << args[1];
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_FALSE(to.Exists("qfd.ini"));
    EXPECT_EQ(Qfdctl({"send", "--top", std::string(254, 't'), Dir(to)}).exitCode, 0);
}

TEST(QfdctlSend, UnreachableFolderIsNamedAndTheOthersStillServed) {
    test::Sandbox ok;
    const test::ChildRun run = Qfdctl({"send", Dir(ok) + "/gone", Dir(ok)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("/gone"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
    EXPECT_EQ(ReadIni(ok.IniPath(), "Commands", "Type", "0"), "1");
}

TEST(QfdctlSend, FolderWhoseLockStaysBusyIsNamedAndNeverRewrittenInPlace) {
    test::Sandbox busy;
    busy.WriteBytes("qfd.ini", "[Commands]\r\nType=0\r\n");
    std::filesystem::create_hard_link(busy.IniPath(), busy.Path("second-name.ini"));
    const FileLock other = FileLock::Acquire(LockPathFor(busy.IniPath()), FileLock::Mode::Exclusive,
                                             std::chrono::milliseconds(0), true);
    ASSERT_TRUE(other.Held());
    const test::ChildRun run = Qfdctl({"send", Dir(busy)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(Dir(busy) + ": another program holds"), std::string::npos) << run.err;
    EXPECT_EQ(busy.ReadBytes("qfd.ini"), "[Commands]\r\nType=0\r\n");
}

TEST(QfdctlSend, WaitEndsWhenTheReceiverHasClosedTheAlert) {
    test::Sandbox to;
    // A stand-in receiver: shows the alert for a moment, then sets Type back to "0".
    test::ForkedChild receiver([&] {
        while (ReadIni(to.IniPath(), "Commands", "Type", "0") != "1") ::usleep(20000);
        ::usleep(300000);
        std::string zero = "0";
        WriteIni(to.IniPath(), "Commands", "Type", zero);
        return 0;
    });
    const test::ChildRun run = Qfdctl({"send", "--wait", "20", Dir(to)});
    receiver.Wait();
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

TEST(QfdctlSend, WaitNamesAnAlertThatAnotherReplacedBeforeItWasShown) {
    test::Sandbox to;
    // Another sender's record takes the place of ours before the receiver looks.
    test::ForkedChild other([&] {
        while (ReadIni(to.IniPath(), "Commands", "Type", "0") != "1") ::usleep(20000);
        return SendNetworkAlert(to.IniPath(), AlertRecord{"0", "Sheila", "Quorf", "Alert"}).Ok()
                   ? 0
                   : 1;
    });
    const test::ChildRun run = Qfdctl({"send", "--name", "Bruce", "--wait", "30", Dir(to)});
    EXPECT_EQ(other.Wait(), 0);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find(Dir(to) + ": another alert replaced this one"), std::string::npos)
        << run.err;
    // status tells the same of each record; the file as it stands is Sheila's.
    EXPECT_EQ(Qfdctl({"status", "--name", "Bruce", Dir(to)}).out, "replaced\n");
    EXPECT_EQ(Qfdctl({"status", "--name", "Sheila", Dir(to)}).out, "waiting\n");
    to.WriteBytes("qfd.ini",
                  "[Commands]\r\nNetName=Sheila\r\nQFtext=Quorf\r\nAtext=Alert\r\n"
                  "Type=0\r\n");
    EXPECT_EQ(Qfdctl({"status", "--name", "Sheila", Dir(to)}).out, "seen\n");
}

TEST(QfdctlSend, WaitRunsOutWhenNobodyReceives) {
    test::Sandbox to, other;
    const test::ChildRun run = Qfdctl({"send", "--wait", "1", Dir(to)});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find(Dir(to)), std::string::npos) << run.err;
    // An unreachable folder wins over the timeout.
    EXPECT_EQ(Qfdctl({"send", "--wait", "1", Dir(other), Dir(other) + "/gone"}).exitCode, 1);
}

TEST(QfdctlStatus, ShowsTheWaitingRecordOrNone) {
    test::Sandbox to;
    EXPECT_EQ(Qfdctl({"status", Dir(to)}).out, "none\n");
    to.WriteBytes("qfd.ini", "[Commands]\r\nType=1\r\nDelay= 2\r\nNetName=Bruce\r\n");
    const test::ChildRun run = Qfdctl({"status", Dir(to)});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "waiting\nDelay=2\nNetName=Bruce\nQFtext=\nAtext=\nType=1\n");
    to.WriteBytes("qfd.ini", "[Commands]\r\nType=0\r\n");
    EXPECT_EQ(Qfdctl({"status", Dir(to)}).out, "none\n");
}

TEST(QfdctlStatus, UnreadableFolderExitsOne) {
    test::Sandbox to;
    EXPECT_EQ(Qfdctl({"status", Dir(to) + "/gone"}).exitCode, 1);
    ASSERT_EQ(::mkfifo(to.IniPath().c_str(), 0644), 0);
    EXPECT_EQ(Qfdctl({"status", Dir(to)}).exitCode, 1);
    EXPECT_EQ(Qfdctl({"status"}).exitCode, 2);
}

}  // namespace
}  // namespace qfd
