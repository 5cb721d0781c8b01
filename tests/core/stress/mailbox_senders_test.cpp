// Eight sender processes fill one mailbox while a receiver process polls it the way the main timer
// does: the file stays whole, no alert mixes two senders' records, a record's waiting time is
// counted down before it is shown, and the record sent last is always shown.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/settings/ini_access.h"
#include "core/settings/ini_snapshot.h"
#include "core/settings/profile_store.h"
#include "tests/core/stress/polling_receiver.h"
#include "tests/core/stress/stress_support.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

using namespace std::chrono_literals;

constexpr int kSenders = 8;
constexpr int kRecordsEach = 100;
constexpr int kRounds = 10;  // each round ends with the mailbox at rest
constexpr int kRecordsPerRound = kRecordsEach / kRounds;
constexpr auto kBound = 60s;  // a hung receiver or sender ends the test instead of CI

const std::string kSettings =
    "[Settings]\r\nmyName=Receiver\r\nDelay= 5\r\nLatency= 100\r\nSound=101\r\n"
    "Colour1= 255\r\nColour2= 0\r\nColour3= 0\r\nColour4= 16777215\r\nSmall= 0\r\n"
    "QFtext=Own top\r\nAtext=Own bottom\r\nNetDelay= 0\r\nsplashDelay= 1\r\n"
    "[Network Settings]\r\nOption 0=/srv/peer/\r\n";

// A few records wait two seconds, among them each sender's last of a round, so that the record
// sent last often has to be counted down before it is shown; the others are instant.
std::string DelayFor(int n) {
    return n % kRecordsPerRound == 3 || n % kRecordsPerRound == kRecordsPerRound - 1 ? " 2" : "0";
}

std::string Name(int sender) { return "sender" + std::to_string(sender); }
std::string Text(int sender, int n) { return Name(sender) + "-#" + std::to_string(n); }

// A sender as the tray menu's network command: one whole record per send, a little pause between.
int RunSender(const std::string& ini, int sender, int first, std::uint32_t seed,
              const test::ReportPipe& pipe) {
    std::mt19937 random(seed + static_cast<std::uint32_t>(sender));
    std::uniform_int_distribution<int> pauseUs(0, 6000);
    std::chrono::milliseconds longest{0};
    for (int n = first; n < first + kRecordsPerRound; ++n) {
        const WriteOutcome outcome = test::Timed(longest, [&] {
            return SendNetworkAlert(
                ini, AlertRecord{DelayFor(n), Name(sender), Text(sender, n), Text(sender, n)});
        });
        if (!outcome.Ok() || outcome.lockTimedOut) {
            pipe.Send("failed " + Text(sender, n) + ": " +
                      (outcome.Ok() ? "gave up waiting for the lock" : outcome.Describe()));
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
    }
    pipe.Send("longest " + std::to_string(longest.count()));
    return 0;
}

// Where a process that should have ended is: the kernel's wait channel of each of its threads.
std::string WhereItWaits(pid_t pid) {
    const std::filesystem::path proc = "/proc/" + std::to_string(pid);
    std::string where = "\n  sender " + std::to_string(pid) + ":";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(proc / "task", error)) {
        const std::string stat = test::ReadFileBytes(task.path() / "stat");
        const std::size_t state = stat.rfind(") ");
        where += " [" + task.path().filename().string() + " " +
                 (state == std::string::npos ? "?" : stat.substr(state + 2, 1)) + " " +
                 test::ReadFileBytes(task.path() / "wchan") + "]";
    }
    return where;
}

struct Shown {
    std::string netName, qfText, aText, delay;
};

std::optional<Shown> ParseShown(const std::string& line) {
    if (line.rfind("shown ", 0) != 0) return std::nullopt;
    std::vector<std::string> parts;
    std::size_t start = 6;
    for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
        parts.push_back(line.substr(start, bar - start));
    }
    parts.push_back(line.substr(start));
    if (parts.size() != 5) return std::nullopt;
    return Shown{parts[0], parts[1], parts[2], parts[3]};
}

// The sender and record number a shown alert claims to be, when its fields all agree.
std::optional<std::pair<int, int>> Identify(const Shown& s) {
    for (int sender = 0; sender < kSenders; ++sender) {
        if (s.netName != Name(sender)) continue;
        const std::string prefix = Name(sender) + "-#";
        if (s.qfText.rfind(prefix, 0) != 0 || s.aText != s.qfText) return std::nullopt;
        const std::string digits = s.qfText.substr(prefix.size());
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        const int n = std::stoi(digits);
        if (n >= kRecordsEach) return std::nullopt;
        // Shown only once no second is left to wait.
        if (s.delay != "0") return std::nullopt;
        return std::make_pair(sender, n);
    }
    return std::nullopt;
}

using test::WritePath;

class EightSenders : public ::testing::TestWithParam<WritePath> {
  protected:
    void SetUp() override {
        sandbox.WriteBytes("qfd.ini", kSettings + "[Commands]\r\nType=0\r\n");
        if (GetParam() == WritePath::InPlace) {
            ASSERT_TRUE(test::ForceRewriteInPlace(ini));
        }
        seed = test::StressSeed();
        std::cout << "seed " << seed << " (QFD_STRESS_SEED repeats it)\n";
        ASSERT_TRUE(pipe.valid());
        ASSERT_EQ(::pipe(stop), 0);
        ::fcntl(stop[0], F_SETFL, O_NONBLOCK);
        receiver = test::Spawn([&] {
            ::close(stop[1]);
            return test::RunPollingReceiver(ini, stop[0], pipe);
        });
        ::close(stop[0]);
    }

    void TearDown() override {
        if (receiver > 0 && !receiverEnded) {
            ::close(stop[1]);
            test::KillChild(receiver);
        }
    }

    // The file as another program reads it, without the store's lock: a rename leaves it whole at
    // every moment. A file rewritten in place is whole only to readers that take the lock, as the
    // store's own readers do.
    void LookFromOutside() {
        const std::string bytes =
            GetParam() == WritePath::Rename
                ? test::ReadFileBytes(ini)
                : test::Timed(longestRead, [&] { return ReadProfileFile(ini).value_or(""); });
        ++reads;
        std::string problem = test::IniProblem(bytes, {"Settings", "Commands"});
        if (problem.empty() && bytes.rfind(kSettings, 0) != 0) problem = "settings changed";
        if (!problem.empty() && problems.size() < 5) problems.push_back(problem);
    }

    // Looks from outside and collects the reports until done() holds; false after the bound.
    bool WatchUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            LookFromOutside();
            for (std::string& line : pipe.Drain()) lines.push_back(std::move(line));
            std::this_thread::sleep_for(200us);
        }
        for (std::string& line : pipe.Drain()) lines.push_back(std::move(line));
        return true;
    }

    // One round: every sender sends its next records, then the mailbox must come to rest with
    // the record sent last shown. False when something hung.
    bool Round(int round) {
        std::vector<pid_t> senders;
        for (int s = 0; s < kSenders; ++s) {
            senders.push_back(test::Spawn([&, s] {
                ::close(stop[1]);
                return RunSender(ini, s, round * kRecordsPerRound, seed + 977u * round, pipe);
            }));
        }
        std::vector<int> codes(kSenders, -2);
        const bool sent = WatchUntil([&] {
            bool all = true;
            for (std::size_t i = 0; i < senders.size(); ++i) {
                if (codes[i] == -2 && !test::Ended(senders[i], codes[i])) all = false;
            }
            return all;
        });
        if (!sent) {
            std::string where;
            for (std::size_t i = 0; i < senders.size(); ++i) {
                if (codes[i] == -2) where += WhereItWaits(senders[i]);
            }
            for (pid_t pid : senders) test::KillChild(pid);
            ADD_FAILURE() << "round " << round << ": the senders hung" << where;
            return false;
        }
        for (int code : codes) EXPECT_EQ(code, 0) << "round " << round << ": a sender failed";
        if (!WatchUntil([&] { return ReadIni(ini, "Commands", "Type", "?") == "0"; })) {
            ADD_FAILURE() << "round " << round << ": the mailbox never came to rest";
            return false;
        }
        // The record left in the file is the one sent last; it must be the last alert shown.
        const IniSnapshot end = IniSnapshot::Load(ini);
        std::optional<Shown> lastShown;
        for (const std::string& line : lines) {
            if (std::optional<Shown> shown = ParseShown(line)) lastShown = shown;
        }
        const std::string sentLast = end.Read("Commands", "QFtext", "?");
        if (!lastShown || lastShown->qfText != sentLast) {
            std::ostringstream finding;
            finding << "round " << round << ": the record sent last (" << sentLast
                    << ") was not shown; the last alert was "
                    << (lastShown ? lastShown->qfText : "none");
            findings.push_back(finding.str());
        }
        return true;
    }

    test::Sandbox sandbox;
    std::string ini = sandbox.IniPath();
    std::uint32_t seed = 0;
    test::ReportPipe pipe;
    int stop[2] = {-1, -1};
    pid_t receiver = -1;
    bool receiverEnded = false;
    std::vector<std::string> lines;
    std::vector<std::string> problems;
    std::vector<std::string> findings;
    int reads = 0;
    std::chrono::milliseconds longestRead{0};
};

TEST_P(EightSenders, EveryAlertShownIsOneWholeRecordAndTheLastOneIsShown) {
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        if (!Round(round)) break;
    }
    ::close(stop[1]);  // the receiver finishes once the mailbox is done
    const int receiverExit = test::WaitBounded(receiver, kBound);
    receiverEnded = true;
    for (std::string& line : pipe.Drain()) lines.push_back(std::move(line));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(receiverExit, 0);
    for (const std::string& problem : problems) findings.push_back("torn view: " + problem);

    std::map<int, int> lastShownOf;  // sender -> its record number shown last
    int shown = 0, delayedShown = 0, countdowns = 0;
    long long longestWait = longestRead.count();
    for (const std::string& line : lines) {
        if (line.rfind("torn ", 0) == 0) findings.push_back("the receiver read a " + line);
        if (line.rfind("failed ", 0) == 0) ADD_FAILURE() << line;
        if (line == "countdown") ++countdowns;
        if (line.rfind("longest ", 0) == 0)
            longestWait = std::max(longestWait, std::stoll(line.substr(8)));
        const std::optional<Shown> s = ParseShown(line);
        if (!s) continue;
        ++shown;
        const std::optional<std::pair<int, int>> id = Identify(*s);
        if (!id) {
            findings.push_back("an alert mixes records or shows a waiting time not counted down: " +
                               line);
            continue;
        }
        if (DelayFor(id->second) != "0") ++delayedShown;
        // One sender's records reach the screen in the order it sent them, each at most once.
        auto [it, first] = lastShownOf.emplace(id->first, id->second);
        if (!first) {
            if (id->second <= it->second)
                findings.push_back("shown again or out of order: " + line);
            it->second = id->second;
        }
    }
    // Each tick of a countdown takes one second off one record: a record that waited two
    // seconds took two of them.
    if (countdowns < 2 * delayedShown) {
        findings.push_back(std::to_string(delayedShown) +
                           " records shown after waiting, but only " + std::to_string(countdowns) +
                           " seconds counted");
    }
    std::cout << kSenders * kRecordsEach << " records sent in " << kRounds << " rounds, " << shown
              << " alerts shown (" << delayedShown << " after waiting), " << countdowns
              << " countdown ticks, longest call " << longestWait << " ms, " << reads
              << " reads by an outsider, " << seconds << " s\n";
    for (const std::string& finding : findings) ADD_FAILURE() << finding;
}

INSTANTIATE_TEST_SUITE_P(Paths, EightSenders,
                         ::testing::Values(WritePath::Rename, WritePath::InPlace),
                         [](const auto& row) { return test::WritePathName(row.param); });

}  // namespace
}  // namespace qfd
