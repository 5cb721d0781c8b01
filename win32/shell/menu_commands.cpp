#include "win32/shell/menu_commands.h"

namespace qfd {
namespace {

constexpr unsigned kFirstFixedId = 100;
constexpr unsigned kFirstNetworkItemId = 1000;
constexpr unsigned kFirstAllButItemId = kFirstNetworkItemId + kMenuArrayCapacity;

}  // namespace

unsigned MenuItemId(MenuCommand command, int index) {
    switch (command) {
        case MenuCommand::mNetworkItem:
            return kFirstNetworkItemId + static_cast<unsigned>(index);
        case MenuCommand::mAllButItem:
            return kFirstAllButItemId + static_cast<unsigned>(index);
        default:
            return kFirstFixedId + static_cast<unsigned>(command);
    }
}

ChosenMenuItem DecodeMenuCommand(unsigned id) {
    const auto capacity = static_cast<unsigned>(kMenuArrayCapacity);
    if (id >= kFirstNetworkItemId && id < kFirstNetworkItemId + capacity)
        return {MenuCommand::mNetworkItem, static_cast<int>(id - kFirstNetworkItemId)};
    if (id >= kFirstAllButItemId && id < kFirstAllButItemId + capacity)
        return {MenuCommand::mAllButItem, static_cast<int>(id - kFirstAllButItemId)};
    if (id > kFirstFixedId + static_cast<unsigned>(MenuCommand::None) &&
        id < kFirstFixedId + static_cast<unsigned>(MenuCommand::mNetworkItem))
        return {static_cast<MenuCommand>(id - kFirstFixedId), 0};
    return {};
}

std::string MenuCaptionForPath(std::string_view path) {
    std::string caption;
    caption.reserve(path.size());
    for (const char c : path) {
        if (c == '&')
            caption += "&&";
        else if (static_cast<unsigned char>(c) < 0x20)
            caption += ' ';
        else
            caption += c;
    }
    return caption;
}

}  // namespace qfd
