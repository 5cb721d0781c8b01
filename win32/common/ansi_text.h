#pragma once

#include <string>
#include <string_view>

#include "core/settings/text_encoding.h"

namespace qfd {

// The program is an ANSI program: windows, menus and message boxes take text in the system code
// page. Settings values are bytes as they stand in the file, which is what a Windows installation
// writes (the system code page) unless a peer on another platform wrote UTF-8.

// Bytes of a setting as the system code page shows them: UTF-8 that holds more than ASCII is
// converted (a character the code page lacks shows as the code page's default character); any
// other bytes are the code page's already and stay as they are.
std::string SettingToAnsi(std::string_view bytes);

// UTF-8 text of the core (message texts, captions) in the system code page.
std::string Utf8ToAnsi(std::string_view utf8);

// A setting shown on one line: as SettingToAnsi, with every control character (below 32) shown as
// a blank, so that a tab or line break from a hand-edited file or the network never breaks it.
std::string PlainAnsiLine(std::string_view settingBytes);

}  // namespace qfd
