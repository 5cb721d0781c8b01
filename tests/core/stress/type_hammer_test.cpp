// Another process rewrites Type every millisecond, with every kind of value, while a receiver
// polls the mailbox: the receiver never reads a broken file, never shows anything but the record
// that stands in the file, loses none of the hammer's writes, and comes to rest afterwards.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings/ini_access.h"
#include "core/settings/profile_store.h"
#include "tests/core/stress/polling_receiver.h"
#include "tests/core/stress/stress_support.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

using namespace std::chrono_literals;

constexpr int kWrites = 2000;  // two seconds at one a millisecond

const std::string kSettings =
    "[Settings]\r\nmyName=Receiver\r\nDelay= 5\r\nLatency= 100\r\nQFtext=Own top\r\n"
    "Atext=Own bottom\r\n";
const std::string kRecord =
    "[Commands]\r\nDelay=0\r\nNetName=peer\r\nQFtext=top\r\nAtext=bottom\r\n";

// What the hammer writes in turn: waiting values of every shape and "done" values. The last
// write leaves a record waiting, so the receiver must show it once more and then rest.
const char* const kValues[] = {"1", "0", " 1", "x", "", "0", "1 ", "TRUE", "-1", "0"};
constexpr std::size_t kValueCount = sizeof kValues / sizeof kValues[0];

// A write that gave up waiting for the lock counts as failed.
int RunHammer(const std::string& ini, const test::ReportPipe& pipe) {
    auto next = std::chrono::steady_clock::now();
    int failed = 0;
    std::chrono::milliseconds longest{0};
    for (int i = 0; i < kWrites; ++i) {
        std::string value =
            i == kWrites - 1 ? "1" : kValues[static_cast<std::size_t>(i) % kValueCount];
        const WriteOutcome outcome =
            test::Timed(longest, [&] { return WriteIni(ini, "Commands", "Type", value); });
        if (!outcome.Ok() || outcome.lockTimedOut) ++failed;
        next += 1ms;
        std::this_thread::sleep_until(next);
    }
    pipe.Send("hammer " + std::to_string(failed));
    pipe.Send("longest " + std::to_string(longest.count()));
    return failed == 0 ? 0 : 1;
}

class TypeHammer : public ::testing::TestWithParam<test::WritePath> {};

TEST_P(TypeHammer, ReceiverShowsOnlyTheStandingRecordAndComesToRest) {
    test::Sandbox sandbox;
    const std::string ini = sandbox.IniPath();
    sandbox.WriteBytes("qfd.ini", kSettings + kRecord + "Type=0\r\n");
    const bool inPlace = GetParam() == test::WritePath::InPlace;
    if (inPlace) {
        ASSERT_TRUE(test::ForceRewriteInPlace(ini));
    }
    test::ReportPipe pipe;
    int stop[2];
    ASSERT_TRUE(pipe.valid());
    ASSERT_EQ(::pipe(stop), 0);
    ::fcntl(stop[0], F_SETFL, O_NONBLOCK);
    const auto start = std::chrono::steady_clock::now();
    const pid_t receiver = test::Spawn([&] {
        ::close(stop[1]);
        return test::RunPollingReceiver(ini, stop[0], pipe);
    });
    ::close(stop[0]);
    const pid_t hammer = test::Spawn([&] {
        ::close(stop[1]);
        return RunHammer(ini, pipe);
    });

    // Meanwhile, look at the file as another program would; a file rewritten in place is whole
    // only to readers that take the lock, as the store's own readers do.
    std::vector<std::string> lines;
    std::string problem;
    int reads = 0, hammerExit = -1;
    const auto deadline = start + 60s;
    while (!test::Ended(hammer, hammerExit) && std::chrono::steady_clock::now() < deadline) {
        const std::string bytes =
            inPlace ? ReadProfileFile(ini).value_or("") : test::ReadFileBytes(ini);
        ++reads;
        if (problem.empty()) problem = test::IniProblem(bytes, {"Settings", "Commands"});
        if (problem.empty() && bytes.rfind(kSettings + kRecord, 0) != 0) problem = "record changed";
        for (std::string& line : pipe.Drain()) lines.push_back(std::move(line));
        std::this_thread::sleep_for(300us);
    }
    ::close(stop[1]);
    const int receiverExit = test::WaitBounded(receiver, 30s);
    if (hammerExit == -1) test::KillChild(hammer);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (std::string& line : pipe.Drain()) lines.push_back(std::move(line));

    EXPECT_EQ(hammerExit, 0) << "the hammer's writes failed or it hung";
    EXPECT_EQ(receiverExit, 0) << "the receiver did not come to rest";
    std::vector<std::string> findings;
    if (!problem.empty()) findings.push_back("an outsider read a torn view: " + problem);
    int shown = 0, shownAfterDone = 0;
    long long longest = 0;
    for (const std::string& line : lines) {
        if (line.rfind("torn ", 0) == 0) findings.push_back("the receiver read a " + line);
        if (line.rfind("hammer ", 0) == 0) {
            EXPECT_EQ(line, "hammer 0") << "writes failed";
        }
        if (line.rfind("longest ", 0) == 0) longest = std::max(longest, std::stoll(line.substr(8)));
        if (line.rfind("shown ", 0) != 0) continue;
        ++shown;
        // Always the whole record that stands in the file. (Its Type may have turned "0" between
        // the look and the show: a record seen waiting is shown once.)
        const std::string head = "shown peer|top|bottom|0|";
        if (line.rfind(head, 0) != 0) findings.push_back("a broken record was shown: " + line);
        if (line.substr(head.size()) == "0") ++shownAfterDone;
    }
    EXPECT_GT(shown, 0);
    if (ReadIni(ini, "Commands", "Type", "?") != "0")
        findings.push_back("the last waiting record was lost");
    if (test::ReadFileBytes(ini) != kSettings + kRecord + "Type=0\r\n")
        findings.push_back("the file ends up as: " + test::ReadFileBytes(ini));
    std::cout << kWrites << " writes of Type in " << seconds << " s, " << shown << " alerts shown ("
              << shownAfterDone << " after Type had turned 0), longest call " << longest << " ms, "
              << reads << " reads by an outsider\n";
    for (const std::string& finding : findings) ADD_FAILURE() << finding;
}

INSTANTIATE_TEST_SUITE_P(Paths, TypeHammer,
                         ::testing::Values(test::WritePath::Rename, test::WritePath::InPlace),
                         [](const auto& row) { return test::WritePathName(row.param); });

}  // namespace
}  // namespace qfd
