#pragma once

#include <string>
#include <string_view>

namespace qfd {

// Texts of the application shell's message boxes. Line breaks are CR LF, as the program shows
// them on every platform; a front end converts them at its edge.
inline constexpr std::string_view kAppTitle = "QF Detect";
inline constexpr std::string_view kOnlyOnceMessage =
    "You can only run QF Detect once.\r\n\r\n"
    "Right-click on the QF Detect icon in the bottom right-hand corner for options.";
inline constexpr std::string_view kExitQuestion = "Are you sure you wish to close QF Detect?";
inline constexpr std::string_view kTrayTip = "QF Detect";

// "Version " and the build's major, minor and revision numbers: "Version 1.1.2".
std::string VersionText();

}  // namespace qfd
