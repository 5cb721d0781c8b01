#include <gtest/gtest.h>

#include <set>

#include "win32/shell/menu_commands.h"
#include "win32/shell/tray_callback.h"
#include "win32/shell/tray_icon.h"

namespace qfd {
namespace {

TEST(TrayCallback, MouseMessageIsTheLowWordOfLParam) {
    struct Case {
        std::uintptr_t wParam;
        std::intptr_t lParam;
        std::optional<int> message;
    };
    const Case cases[] = {
        {1, 0x200, 512},           // a move over the icon
        {1, 0x201, 513},           // left button down
        {1, 0x202, 514},           // left button up: shows the window
        {1, 0x203, 515},           // double click
        {1, 0x205, 517},           // right button up: opens the menu
        {1, 0x7B0205, 517},        // high bits some shells add are no part of the message
        {2, 0x205, std::nullopt},  // another icon of this window
        {0, 0x205, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TrayMessageFromCallback(c.wParam, c.lParam), c.message)
            << c.wParam << " " << c.lParam;
    }
}

TEST(TrayIconRecord, TipIsTheTextANulAndBlanks) {
    char field[64];
    FillTipField(field, sizeof field, "QF Detect");
    EXPECT_STREQ(field, "QF Detect");
    EXPECT_EQ(field[9], '\0');
    for (std::size_t i = 10; i < sizeof field; ++i) EXPECT_EQ(field[i], ' ') << i;

    // Too long a tip is cut so that its NUL still fits.
    const std::string longTip(100, 'q');
    FillTipField(field, sizeof field, longTip);
    EXPECT_EQ(std::string(field), std::string(63, 'q'));
}

TEST(TrayIconRecord, FirstLayoutWithCallbackIconAndTip) {
    TrayIcon icon;
    icon.Fill(reinterpret_cast<HWND>(0x1234), nullptr, "QF Detect");
    const NOTIFYICONDATAA& data = icon.TrayIconData();
    EXPECT_EQ(data.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 0x200u);
    EXPECT_STREQ(data.szTip, "QF Detect");

    // A balloon goes only to an icon that is up, in the first layout that carries one.
    icon.ShowNotice("Alert seen", "Seen at 14:02:31 on \\\\pc2\\qfd\\");
    EXPECT_EQ(icon.NoticeData().cbSize, 0u);
    icon.Add();
    icon.ShowNotice("Alert seen", std::string(300, 's'));
    const NOTIFYICONDATAA& notice = icon.NoticeData();
    EXPECT_EQ(notice.cbSize, NOTIFYICONDATAA_V2_SIZE);
    EXPECT_EQ(notice.hWnd, data.hWnd);
    EXPECT_EQ(notice.uID, 1u);
    EXPECT_EQ(notice.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(notice.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_STREQ(notice.szInfoTitle, "Alert seen");
    EXPECT_EQ(std::string(notice.szInfo), std::string(255, 's'));
    icon.Remove();
}

TEST(MenuCommands, EveryItemHasItsOwnIdAndDecodesBack) {
    std::set<unsigned> ids;
    for (const MenuCommand command :
         {MenuCommand::mInstant, MenuCommand::mDelayed, MenuCommand::mAll, MenuCommand::mOptions,
          MenuCommand::mAbout, MenuCommand::mExit, MenuCommand::mCancel}) {
        const unsigned id = MenuItemId(command);
        EXPECT_TRUE(ids.insert(id).second);
        EXPECT_EQ(DecodeMenuCommand(id).command, command);
    }
    for (const MenuCommand array : {MenuCommand::mNetworkItem, MenuCommand::mAllButItem}) {
        for (const int index : {0, 1, 250, kMenuArrayCapacity - 1}) {
            const unsigned id = MenuItemId(array, index);
            EXPECT_TRUE(ids.insert(id).second) << index;
            const ChosenMenuItem chosen = DecodeMenuCommand(id);
            EXPECT_EQ(chosen.command, array);
            EXPECT_EQ(chosen.index, index);
        }
    }
    // Ids are 16-bit in WM_COMMAND.
    for (const unsigned id : ids) EXPECT_LE(id, 0xFFFFu);
}

TEST(MenuCommands, IdsTheMenuNeverHadChooseNothing) {
    for (const unsigned id : {0u, 1u, 99u, 100u, 65535u}) {
        EXPECT_EQ(DecodeMenuCommand(id).command, MenuCommand::None) << id;
    }
    const unsigned pastAllBut = MenuItemId(MenuCommand::mAllButItem, kMenuArrayCapacity - 1) + 1;
    EXPECT_EQ(DecodeMenuCommand(pastAllBut).command, MenuCommand::None);
}

TEST(MenuCommands, CaptionShowsThePathAsStored) {
    EXPECT_EQ(MenuCaptionForPath("\\\\server\\qfd\\"), "\\\\server\\qfd\\");
    // An ampersand shows as itself rather than underlining the next letter.
    EXPECT_EQ(MenuCaptionForPath("Z:\\Tom & Jerry\\"), "Z:\\Tom && Jerry\\");
    EXPECT_EQ(MenuCaptionForPath("&&"), "&&&&");
    // A tab would push the rest to the shortcut column.
    EXPECT_EQ(MenuCaptionForPath("C:\\a\tb\\"), "C:\\a b\\");
    EXPECT_EQ(MenuCaptionForPath(""), "");
}

}  // namespace
}  // namespace qfd
