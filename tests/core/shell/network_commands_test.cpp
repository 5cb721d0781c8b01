// The "&Network Alert" commands: which detectors each one reaches, as the menus were last built.
#include <chrono>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/network/alert_record.h"
#include "core/network/mailbox.h"
#include "tests/core/shell/shell_fixture.h"

namespace qfd::test {
namespace {

using Paths = std::vector<std::string>;
using Sent = std::vector<Paths>;

class NetworkCommands : public ShellTest {
  protected:
    void StartWith(const Paths& detectors, const std::vector<int>& slots) {
        for (std::size_t i = 0; i < detectors.size(); ++i) {
            Set("Network Settings", ("Option " + std::to_string(slots[i])).c_str(), detectors[i]);
        }
        Start();
    }
};

TEST_F(NetworkCommands, EmptyListSendsNothing) {
    Start();
    window.mAll_Click();
    window.mNetworkItem_Click(0);
    window.mAllButItem_Click(0);
    EXPECT_EQ(sent, Sent{});
}

TEST_F(NetworkCommands, OneEntryIsReachedAloneButNotFromAllBut) {
    StartWith({"/a/"}, {5});
    window.mAll_Click();
    window.mNetworkItem_Click(0);
    window.mAllButItem_Click(0);  // the disabled "(none)"
    EXPECT_EQ(sent, (Sent{{"/a/"}, {"/a/"}}));
}

TEST_F(NetworkCommands, ThreeEntriesInListOrder) {
    StartWith({"/c/", "/a/", "/b/"}, {9, 1, 4});
    window.mAll_Click();
    window.mAllButItem_Click(1);
    window.mNetworkItem_Click(2);
    EXPECT_EQ(sent, (Sent{{"/a/", "/b/", "/c/"}, {"/a/", "/c/"}, {"/c/"}}));
}

// A front end passes only indexes of items it built from the last refresh: one beyond them is a
// fault that debug builds stop on; release builds send nothing.
TEST_F(NetworkCommands, IndexBeyondTheMenusIsAFault) {
    StartWith({"/a/", "/b/"}, {0, 1});
    EXPECT_DEBUG_DEATH(window.mNetworkItem_Click(2), "index beyond");
    EXPECT_DEBUG_DEATH(window.mAllButItem_Click(-1), "index beyond");
    EXPECT_EQ(sent, Sent{});
}

TEST_F(NetworkCommands, IndexesFollowTheLastRefresh) {
    StartWith({"/a/", "/b/", "/c/"}, {0, 1, 2});
    Set("Network Settings", "Option 1", "");  // removed by the options dialog
    window.RefreshNetworkMenus();
    window.mNetworkItem_Click(1);
    window.mAllButItem_Click(0);
    EXPECT_EQ(sent, (Sent{{"/c/"}, {"/c/"}}));
}

TEST_F(NetworkCommands, NothingIsSentWhileAModalWindowIsOpen) {
    StartWith({"/a/", "/b/"}, {0, 1});
    view.duringAlert = [&] {
        window.mAll_Click();
        window.mNetworkItem_Click(0);
        window.mAllButItem_Click(0);
    };
    window.mInstant_Click();
    EXPECT_EQ(sent, Sent{});
}

TEST_F(NetworkCommands, ReceiptsComeInOneNoticeAndTheirTimerStopsOnceAllAreSettled) {
    Sandbox seen, replaced;
    const std::string seenPath = seen.Dir().string() + "/";
    const std::string replacedPath = replaced.Dir().string() + "/";
    StartWith({seenPath, replacedPath}, {1, 2});
    window.mAll_Click();
    EXPECT_TRUE(view.receiptTimerEnabled);
    // The sender thread writes the two records.
    const AlertRecord record{"0", "Bruce", "Quorf", "Alert"};
    for (const Sandbox* s : {&seen, &replaced}) {
        ASSERT_TRUE(SendNetworkAlert(s->IniPath(), record).Ok());
        deliveries.written.push_back(
            {s->Dir().string() + "/", s->IniPath(), record, std::chrono::steady_clock::now()});
    }
    // Each tick tells what the look it started before found, and starts another.
    const auto tick = [this] {
        window.ReceiptTimer_Timer();
        window.WaitForReceiptLook();
    };
    tick();
    tick();
    EXPECT_TRUE(view.notices.empty());
    EXPECT_TRUE(view.receiptTimerEnabled);

    ASSERT_TRUE(MarkMailboxDone(seen.IniPath(), *LookIntoMailbox(seen.IniPath(), "", "")).Ok());
    ASSERT_TRUE(SendNetworkAlert(replaced.IniPath(), {"0", "Sheila", "Quorf", "Alert"}).Ok());
    tick();
    tick();
    ASSERT_EQ(view.notices.size(), 1u);
    EXPECT_EQ(view.notices[0].title, "Alert seen");
    // "Seen at 14:02:31 on ...", then the replaced one.
    const std::string& text = view.notices[0].text;
    EXPECT_EQ(text.substr(0, 8), "Seen at ");
    EXPECT_EQ(
        text.substr(16),
        " on " + seenPath + "\nReplaced by another alert before it was seen on " + replacedPath);
    EXPECT_FALSE(view.receiptTimerEnabled);
}

}  // namespace
}  // namespace qfd::test
