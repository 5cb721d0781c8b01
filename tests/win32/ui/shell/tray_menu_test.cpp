#include "win32/shell/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/shell/menu_commands.h"

namespace qfd {
namespace {

struct Item {
    std::string caption;
    unsigned id = 0;
    bool grayed = false;
    bool separator = false;
};

std::vector<Item> ItemsOf(HMENU menu) {
    std::vector<Item> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back(
            {text, info.wID, (info.fState & MFS_GRAYED) != 0, (info.fType & MFT_SEPARATOR) != 0});
    }
    return items;
}

// Rows below "&Network Alert"'s separator: the mNetworkItem elements.
std::vector<Item> DetectorRows(const TrayMenu& menu) {
    std::vector<Item> rows = ItemsOf(menu.Network());
    rows.erase(rows.begin(), rows.begin() + 3);  // mAllBut, mAll, mSep3
    return rows;
}

TEST(TrayMenu, FixedItemsInTheirDesignedOrder) {
    TrayMenu menu;
    const std::vector<Item> top = ItemsOf(menu.Popup());
    ASSERT_EQ(top.size(), 9u);
    EXPECT_EQ(top[0].caption, "&Instant Alert");
    EXPECT_EQ(top[1].caption, "&Delayed Alert");
    EXPECT_EQ(top[2].caption, "&Network Alert");
    EXPECT_TRUE(top[3].separator);
    EXPECT_EQ(top[4].caption, "&Options...");
    EXPECT_EQ(top[5].caption, "&About...");
    EXPECT_TRUE(top[6].separator);
    EXPECT_EQ(top[7].caption, "E&xit");
    EXPECT_EQ(top[8].caption, "&Cancel");
    EXPECT_EQ(DecodeMenuCommand(top[7].id).command, MenuCommand::mExit);

    const std::vector<Item> network = ItemsOf(menu.Network());
    ASSERT_GE(network.size(), 3u);
    EXPECT_EQ(network[0].caption, "&Send To All But...");
    EXPECT_EQ(network[1].caption, "&Send To All");
    EXPECT_TRUE(network[2].separator);
}

TEST(TrayMenu, EmptyListShowsADisabledNoneAndNoDetector) {
    TrayMenu menu;
    menu.ShowNetworkMenus(BuildNetworkMenus({}));
    const std::vector<Item> allBut = ItemsOf(menu.AllBut());
    ASSERT_EQ(allBut.size(), 1u);
    EXPECT_EQ(allBut[0].caption, "(none)");
    EXPECT_TRUE(allBut[0].grayed);
    EXPECT_TRUE(DetectorRows(menu).empty());
}

TEST(TrayMenu, RebuildsGrowAndShrinkWithTheList) {
    TrayMenu menu;
    menu.ShowNetworkMenus(BuildNetworkMenus({"Z:\\a&b\\", "\\\\host\\qfd\\", "C:\\x\\"}));
    std::vector<Item> rows = DetectorRows(menu);
    ASSERT_EQ(rows.size(), 3u);
    // Shown as stored, the ampersand doubled so that it is no access key.
    EXPECT_EQ(rows[0].caption, "Z:\\a&&b\\");
    EXPECT_EQ(rows[1].caption, "\\\\host\\qfd\\");
    for (int i = 0; i < 3; ++i) {
        const ChosenMenuItem chosen = DecodeMenuCommand(rows[static_cast<std::size_t>(i)].id);
        EXPECT_EQ(chosen.command, MenuCommand::mNetworkItem);
        EXPECT_EQ(chosen.index, i);
        EXPECT_FALSE(rows[static_cast<std::size_t>(i)].grayed);
    }
    const std::vector<Item> allBut = ItemsOf(menu.AllBut());
    ASSERT_EQ(allBut.size(), 3u);
    EXPECT_EQ(DecodeMenuCommand(allBut[2].id).command, MenuCommand::mAllButItem);
    EXPECT_EQ(DecodeMenuCommand(allBut[2].id).index, 2);

    // One entry left: below the separator it shows; "Send To All But..." holds "(none)" only.
    menu.ShowNetworkMenus(BuildNetworkMenus({"\\\\host\\qfd\\"}));
    rows = DetectorRows(menu);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].caption, "\\\\host\\qfd\\");
    EXPECT_EQ(DecodeMenuCommand(rows[0].id).index, 0);
    ASSERT_EQ(ItemsOf(menu.AllBut()).size(), 1u);
    EXPECT_TRUE(ItemsOf(menu.AllBut())[0].grayed);
    // The fixed items of the submenu stay whatever the list does.
    EXPECT_EQ(ItemsOf(menu.Network())[1].caption, "&Send To All");
}

TEST(TrayMenu, AFullListFillsEverySlot) {
    std::vector<std::string> paths;
    for (int i = 0; i < kMenuArrayCapacity; ++i)
        paths.push_back("Z:\\d" + std::to_string(i) + "\\");
    TrayMenu menu;
    menu.ShowNetworkMenus(BuildNetworkMenus(paths));
    const std::vector<Item> rows = DetectorRows(menu);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kMenuArrayCapacity));
    EXPECT_EQ(rows.back().caption, "Z:\\d500\\");
    EXPECT_EQ(DecodeMenuCommand(rows.back().id).index, 500);
}

}  // namespace
}  // namespace qfd
