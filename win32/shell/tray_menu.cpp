#include "win32/shell/tray_menu.h"

#include <string>

#include "win32/common/ansi_text.h"
#include "win32/shell/menu_commands.h"

namespace qfd {
namespace {

// Items of the "&Network Alert" submenu before the mNetworkItem array: mAllBut, mAll, mSep3.
constexpr int kNetworkFixedItems = 3;

void AddItem(HMENU menu, MenuCommand command, const char* caption) {
    AppendMenuA(menu, MF_STRING, MenuItemId(command), caption);
}

void AddArray(HMENU menu, MenuCommand array, const std::vector<NetworkMenuItem>& items) {
    const auto count = items.size() < static_cast<std::size_t>(kMenuArrayCapacity)
                           ? items.size()
                           : static_cast<std::size_t>(kMenuArrayCapacity);
    for (std::size_t i = 0; i < count; ++i) {
        const NetworkMenuItem& item = items[i];
        // A hidden element is not in the menu at all; its index stays its own.
        if (!item.visible) continue;
        const std::string caption = MenuCaptionForPath(SettingToAnsi(item.caption));
        const UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED);
        AppendMenuA(menu, flags, MenuItemId(array, static_cast<int>(i)), caption.c_str());
    }
}

}  // namespace

TrayMenu::TrayMenu() {
    bar_ = CreateMenu();
    popup_ = CreatePopupMenu();
    network_ = CreatePopupMenu();
    allBut_ = CreatePopupMenu();
    AppendMenuA(bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup_), "&systray");

    AddItem(popup_, MenuCommand::mInstant, "&Instant Alert");
    AddItem(popup_, MenuCommand::mDelayed, "&Delayed Alert");
    AppendMenuA(popup_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(network_),
                "&Network Alert");
    AppendMenuA(network_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(allBut_),
                "&Send To All But...");
    AddItem(network_, MenuCommand::mAll, "&Send To All");
    AppendMenuA(network_, MF_SEPARATOR, 0, nullptr);  // mSep3
    AppendMenuA(popup_, MF_SEPARATOR, 0, nullptr);    // mSep
    AddItem(popup_, MenuCommand::mOptions, "&Options...");
    AddItem(popup_, MenuCommand::mAbout, "&About...");
    AppendMenuA(popup_, MF_SEPARATOR, 0, nullptr);  // mSep1
    AddItem(popup_, MenuCommand::mExit, "E&xit");
    AddItem(popup_, MenuCommand::mCancel, "&Cancel");

    // Both arrays start with their designed element 0.
    ShowNetworkMenus({{{"(None)", true, true}}, {{"(None)", true, true}}});
}

TrayMenu::~TrayMenu() {
    // Destroying the bar destroys every submenu inside it.
    if (bar_) DestroyMenu(bar_);
}

void TrayMenu::ShowNetworkMenus(const NetworkMenus& menus) {
    while (GetMenuItemCount(allBut_) > 0) DeleteMenu(allBut_, 0, MF_BYPOSITION);
    while (GetMenuItemCount(network_) > kNetworkFixedItems)
        DeleteMenu(network_, kNetworkFixedItems, MF_BYPOSITION);
    AddArray(allBut_, MenuCommand::mAllButItem, menus.allButItems);
    AddArray(network_, MenuCommand::mNetworkItem, menus.networkItems);
}

void TrayMenu::Popup(HWND owner, POINT at) {
    TrackPopupMenu(popup_, 0, at.x, at.y, 0, owner, nullptr);
}

}  // namespace qfd
