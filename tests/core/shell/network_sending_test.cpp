// The tray menu's network alerts end to end in the core: the record taken from the settings,
// written by the sender thread, finished at the end, and a failure composed into its message.
#include "core/shell/network_sending.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/settings/ini_access.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

TEST(NetworkSending, WritesTheRecordAndTellsAFailureAsItsMessage) {
    test::Sandbox sandbox;
    SettingsMirror mirror;
    mirror.myName = "Bruce";
    mirror.QFtext = "Top";
    std::mutex mutex;
    std::condition_variable toldOne;
    std::vector<SendFailureMessage> told;
    NetworkSending sending(mirror, [&](const SendFailureMessage& message) {
        std::lock_guard<std::mutex> lock(mutex);
        told.push_back(message);
        toldOne.notify_all();
    });
    const std::string detector = sandbox.Dir().string() + "/";
    sending.Send({sandbox.Path(std::string(300, 'd')) + "/", detector});
    {
        // Told before the end: from Finish on, nothing is told any more.
        std::unique_lock<std::mutex> lock(mutex);
        toldOne.wait_for(lock, std::chrono::seconds(60), [&] { return !told.empty(); });
    }
    sending.Finish();
    EXPECT_EQ(ReadIni(sandbox.IniPath(), "Commands", "Type", ""), "1");
    EXPECT_EQ(ReadIni(sandbox.IniPath(), "Commands", "NetName", ""), "Bruce");
    EXPECT_EQ(ReadIni(sandbox.IniPath(), "Commands", "QFtext", ""), "Top");
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text, "An error has occurred: The filename or extension is too long.");
    EXPECT_EQ(told[0].title, "Error 206");
    // Only the record written is watched for its receipt, under the detector's name as listed.
    const Deliveries deliveries = sending.TakeDeliveries();
    EXPECT_FALSE(deliveries.sending);
    ASSERT_EQ(deliveries.written.size(), 1u);
    EXPECT_EQ(deliveries.written[0].detector, detector);
    EXPECT_EQ(deliveries.written[0].iniPath, DetectorIniPath(detector));
    EXPECT_EQ(deliveries.written[0].record.NetName, "Bruce");
    EXPECT_TRUE(sending.TakeDeliveries().written.empty());
}

}  // namespace
}  // namespace qfd
