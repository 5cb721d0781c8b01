#pragma once

#include <string>
#include <string_view>

namespace qfd {

// The text an alert label shows for a setting's bytes, as UTF-8: converted like every setting
// (UTF-8, else Windows-1252), with each control character (below 32) shown as a blank so that a
// tab, line break or NUL from a hand-edited file or the network never breaks the single line.
std::string PlainLabelText(std::string_view settingBytes);

}  // namespace qfd
