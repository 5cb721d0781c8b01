// Writers killed with SIGKILL at random moments, hundreds of times: the settings file always
// parses, every write that had returned is in it, and a record is whole or absent.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/settings/ini_access.h"
#include "core/settings/ini_snapshot.h"
#include "core/settings/profile_store.h"
#include "tests/core/stress/stress_support.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

constexpr int kKills = 250;
constexpr int kKeys = 40;

// The user's settings, then a long detector list so that each rewrite of the file takes a while
// and many kills land in the middle of one.
std::string InstallationFile() {
    std::string f = "[Settings]\r\nmyName=Bruce\r\nDelay= 5\r\nLatency= 100\r\nSound=101\r\n";
    f += "Colour1= 255\r\nColour2= 0\r\nColour3= 0\r\nColour4= 16777215\r\nSmall= 0\r\n";
    f += "QFtext=Quorf\r\nAtext=Alert\r\nNetDelay= 0\r\nsplashDelay= 1\r\n[Network Settings]\r\n";
    for (int i = 0; i <= 500; ++i) {
        f += "Option " + std::to_string(i) + "=/srv/share/desk" + std::to_string(i) + "/" +
             std::string(200, 'x') + "/\r\n";
    }
    return f;
}

std::string Key(int i) { return "k" + std::to_string(i % kKeys); }
std::string Value(int generation, int i) {
    return "g" + std::to_string(generation) + "-" + std::to_string(i);
}

using test::WritePath;

class KilledWriters : public ::testing::TestWithParam<WritePath> {
  protected:
    void SetUp() override {
        sandbox.WriteBytes("qfd.ini", InstallationFile());
        if (GetParam() == WritePath::InPlace) {
            ASSERT_TRUE(test::ForceRewriteInPlace(ini));
        }
        seed = test::StressSeed();
        std::cout << "seed " << seed << " (QFD_STRESS_SEED repeats it)\n";
        random.seed(seed);
        ASSERT_TRUE(pipe.valid());
    }

    // Starts the writer, kills it after a random moment and collects what it reported.
    std::vector<std::string> KillAfterRandomMoment(const std::function<int()>& writer) {
        const pid_t pid = test::Spawn(writer);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        test::KillChild(pid);
        if (sandbox.Exists("qfd.ini.tmp")) ++leftovers;
        return pipe.Drain();
    }

    // The file as the store reads it, checked for its shape and the user's settings.
    std::optional<std::string> WholeFile(int kill) {
        const std::optional<std::string> bytes = ReadProfileFile(ini);
        if (!bytes) {
            ADD_FAILURE() << "kill " << kill << ": the file cannot be read";
            return std::nullopt;
        }
        const std::string problem = test::IniProblem(*bytes, {"Settings", "Network Settings"});
        if (!problem.empty()) {
            ADD_FAILURE() << "kill " << kill << ": " << problem;
            return std::nullopt;
        }
        if (bytes->rfind(InstallationFile(), 0) != 0) {
            ADD_FAILURE() << "kill " << kill << ": the settings before the written keys changed";
            return std::nullopt;
        }
        return bytes;
    }

    test::Sandbox sandbox;
    std::string ini = sandbox.IniPath();
    test::ReportPipe pipe;
    std::uint32_t seed = 0;
    std::mt19937 random;
    // Up to 12 ms: from before the child has started to well into its writes.
    std::uniform_int_distribution<int> moment{0, 12000};
    int leftovers = 0;
};

TEST_P(KilledWriters, EveryWriteThatReturnedIsKept) {
    std::map<std::string, std::string> kept;  // key -> value of the last write that returned
    int landedUnreported = 0, writesReturned = 0;
    for (int kill = 0; kill < kKills && !HasFailure(); ++kill) {
        const std::vector<std::string> reported = KillAfterRandomMoment([&] {
            for (int i = 0;; ++i) {
                std::string value = Value(kill, i);
                if (!WriteIni(ini, "Stress", Key(i), value).Ok()) return 1;
                pipe.Send(std::to_string(i));  // only once the write has returned
            }
        });
        int next = 0;  // the write that may have been under way at the kill
        for (const std::string& line : reported) {
            const int i = std::stoi(line);
            kept[Key(i)] = Value(kill, i);
            next = i + 1;
            ++writesReturned;
        }
        const std::optional<std::string> bytes = WholeFile(kill);
        if (!bytes) break;
        for (const auto& [key, value] : kept) {
            const std::string now = ReadIniFrom(*bytes, "Stress", key, "(missing)");
            if (now == value) continue;
            if (key == Key(next) && now == Value(kill, next)) {
                ++landedUnreported;  // written, killed before it could say so
                continue;
            }
            ADD_FAILURE() << "kill " << kill << ": " << key << " is " << now << ", not " << value;
        }
        if (const std::string now = ReadIniFrom(*bytes, "Stress", Key(next), "");
            now == Value(kill, next)) {
            kept[Key(next)] = now;
        }
    }
    std::cout << kKills << " kills, " << writesReturned << " writes returned, " << landedUnreported
              << " landed unreported, " << leftovers << " times a temporary file was left\n";
}

TEST_P(KilledWriters, AKilledSenderLeavesTheWholeRecordOrTheOneBefore) {
    std::optional<std::string> kept;  // the text of the last record whose send returned
    for (int kill = 0; kill < kKills && !HasFailure(); ++kill) {
        const std::vector<std::string> reported = KillAfterRandomMoment([&] {
            for (int n = 0;; ++n) {
                const std::string t = Value(kill, n);
                if (!SendNetworkAlert(ini,
                                      AlertRecord{" 3", "name " + t, "top " + t, "bottom " + t})
                         .Ok())
                    return 1;
                pipe.Send(std::to_string(n));
            }
        });
        int next = 0;
        for (const std::string& line : reported) {
            kept = Value(kill, std::stoi(line));
            next = std::stoi(line) + 1;
        }
        const std::optional<std::string> bytes = WholeFile(kill);
        if (!bytes) break;
        const auto read = [&](const char* key) { return ReadIniFrom(*bytes, "Commands", key, ""); };
        const std::string top = read("QFtext");
        // Sent, but killed before it could say so.
        if (top == "top " + Value(kill, next)) kept = Value(kill, next);
        if (!kept) {
            EXPECT_EQ(read("Type"), "") << "kill " << kill << ": a record before any send returned";
            continue;
        }
        EXPECT_EQ(read("QFtext"), "top " + *kept) << "kill " << kill;
        EXPECT_EQ(read("Atext"), "bottom " + *kept) << "kill " << kill;
        EXPECT_EQ(read("NetName"), "name " + *kept) << "kill " << kill;
        EXPECT_EQ(read("Delay"), "3") << "kill " << kill;
        EXPECT_EQ(read("Type"), "1") << "kill " << kill;
    }
    std::cout << kKills << " kills, " << leftovers << " times a temporary file was left\n";
}

INSTANTIATE_TEST_SUITE_P(Paths, KilledWriters,
                         ::testing::Values(WritePath::Rename, WritePath::InPlace),
                         [](const auto& row) { return test::WritePathName(row.param); });

}  // namespace
}  // namespace qfd
