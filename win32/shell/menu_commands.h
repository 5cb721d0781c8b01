#pragma once

#include <string>
#include <string_view>

namespace qfd {

// The popup menu's commands, as the menu reports them in WM_COMMAND. The item arrays take one id
// per element, so that the chosen element's index comes back without looking at its caption.
enum class MenuCommand {
    None,
    mInstant,
    mDelayed,
    mAll,
    mOptions,
    mAbout,
    mExit,
    mCancel,
    mNetworkItem,
    mAllButItem,
};

struct ChosenMenuItem {
    MenuCommand command = MenuCommand::None;
    int index = 0;  // the element of mNetworkItem or mAllButItem
};

inline constexpr int kMenuArrayCapacity = 501;  // one element per detector slot

// The id of an item; index only for the item arrays (0 .. kMenuArrayCapacity - 1).
unsigned MenuItemId(MenuCommand command, int index = 0);
// The item an id stands for; None for an id the menu never had.
ChosenMenuItem DecodeMenuCommand(unsigned id);

// How a detector path (in the system code page) shows as a menu caption: an ampersand is doubled
// so that it shows as itself instead of marking an access key, and a tab or other control
// character (only a hand-edited file holds one) shows as a blank, since a tab would split the
// caption into text and shortcut.
std::string MenuCaptionForPath(std::string_view path);

}  // namespace qfd
