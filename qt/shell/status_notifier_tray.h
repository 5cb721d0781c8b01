#pragma once

namespace qfd {

// Whether the desktop shows tray icons as StatusNotifierItems over D-Bus: a watcher with a host
// registered is on the session bus. Qt's tray icon takes that way then, and the host, not the
// program, draws the icon's menu from the one the program exports. Asked once, when the tray
// icon is made, as Qt asks it.
bool StatusNotifierHostPresent();

}  // namespace qfd
