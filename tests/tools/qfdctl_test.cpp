// qfdctl as scripts use it: output, exit codes, and the file it leaves.
#include <string>

#include <gtest/gtest.h>

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
    for (const char* command : {"qfdctl read", "qfdctl write"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
}

}  // namespace
}  // namespace qfd
