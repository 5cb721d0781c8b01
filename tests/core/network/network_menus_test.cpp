// The two network submenus as the detector list in "Network Settings" gives them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/network/network_menus.h"
#include "core/platform/file_access.h"
#include "tests/support/sandbox.h"

namespace qfd::test {
namespace {

struct Item {
    std::string caption;
    bool enabled;
    bool visible;
    bool operator==(const Item&) const = default;
};

std::vector<Item> Items(const std::vector<NetworkMenuItem>& items) {
    std::vector<Item> out;
    for (const auto& i : items) out.push_back({i.caption, i.enabled, i.visible});
    return out;
}

struct MenuCase {
    const char* name;
    std::string section;  // body of [Network Settings]
    std::vector<Item> allBut;
    std::vector<Item> network;
};

class NetworkMenusFromFile : public ::testing::TestWithParam<MenuCase> {};

TEST_P(NetworkMenusFromFile, ShowTheListInSlotOrder) {
    Sandbox sandbox;
    sandbox.WriteBytes("qfd.ini", "[Network Settings]\r\n" + GetParam().section);
    const NetworkMenus menus = RefreshNetworkMenus(sandbox.IniPath());
    EXPECT_EQ(Items(menus.allButItems), GetParam().allBut);
    EXPECT_EQ(Items(menus.networkItems), GetParam().network);
}

const Item kNoneDisabled{"(none)", false, true};
const Item kHidden{"(None)", true, false};

INSTANTIATE_TEST_SUITE_P(
    Rows, NetworkMenusFromFile,
    ::testing::Values(
        MenuCase{"Empty", "", {kNoneDisabled}, {kHidden}},
        MenuCase{"OnlyFreeSlots", "Option 0=\r\nOption 1=  \r\n", {kNoneDisabled}, {kHidden}},
        MenuCase{"One", "Option 0=C:\\a\\\r\n", {kNoneDisabled}, {{"C:\\a\\", true, true}}},
        MenuCase{"Gaps",
                 "Option 7=/b/\r\nOption 3=/a/\r\nOption3=/x/\r\nOption 03=/y/\r\n",
                 {{"/a/", true, true}, {"/b/", true, true}},
                 {{"/a/", true, true}, {"/b/", true, true}}},
        MenuCase{"MiddleRemoved",
                 "Option 0=/a/\r\nOption 1=\r\nOption 2=/c/\r\n",
                 {{"/a/", true, true}, {"/c/", true, true}},
                 {{"/a/", true, true}, {"/c/", true, true}}},
        MenuCase{"EdgesAndBeyond",
                 "Option 500=/last\r\nOption 501=/beyond/\r\nOption -1=/neg/\r\noption 0=/a&b/\r\n",
                 {{"/a&b/", true, true}, {"/last", true, true}},
                 {{"/a&b/", true, true}, {"/last", true, true}}}),
    [](const ::testing::TestParamInfo<MenuCase>& row) { return std::string(row.param.name); });

TEST(NetworkMenus, MissingFileAndLongValues) {
    Sandbox sandbox;
    EXPECT_EQ(Items(RefreshNetworkMenus(sandbox.IniPath()).allButItems),
              std::vector<Item>{kNoneDisabled});
    sandbox.WriteBytes("qfd.ini", "[Network Settings]\r\nOption 1=" + std::string(300, 'p') +
                                      "\r\nOption 2=/q/\r\n");
    // Cut to what a read returns, the long path would name another folder: it is left out.
    EXPECT_EQ(ReadNetworkDetectorList(sandbox.IniPath()), std::vector<std::string>{"/q/"});
}

TEST(NetworkMenus, HalfDoneRewriteReadsAsItsWriterMeantIt) {
    Sandbox sandbox;
    const std::string before = "[Network Settings]\r\nOption 0=/old/\r\n";
    const std::string meant = "[Network Settings]\r\nOption 0=/new/\r\nOption 1=/two/\r\n";
    sandbox.WriteBytes("qfd.ini", meant.substr(0, 30) + before.substr(30));
    sandbox.WriteBytes("qfd.ini.redo", MakeRedoRecord(before, meant));
    EXPECT_EQ(ReadNetworkDetectorList(sandbox.IniPath()),
              (std::vector<std::string>{"/new/", "/two/"}));
}

}  // namespace
}  // namespace qfd::test
