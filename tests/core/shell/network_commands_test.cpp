// The "&Network Alert" commands: which detectors each one reaches, as the menus were last built.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qfd::test
