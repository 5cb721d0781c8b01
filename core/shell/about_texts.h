#pragma once

#include <string_view>

namespace qfd::about {

// Who made the program and how to reach them, as the about window shows it. The addresses lie in
// a domain reserved for examples, so no real site or mailbox is ever contacted.
inline constexpr std::string_view kMakerName = "Quorfsoft Listening Labs";
inline constexpr std::string_view kWebAddress = "https://www.example.com/qfdetect/";
inline constexpr std::string_view kEmailAddress = "quorf@example.com";
inline constexpr std::string_view kCopyright = "Copyright \xC2\xA9 2004 Quorfsoft";
inline constexpr std::string_view kWarning =
    "Warning: protected by international treaties on quorf, tosh, bunkum and so on and so forth.";

// Fixed captions of the about window (UTF-8).
inline constexpr std::string_view kPlatform = "Windows 98/ME/NT/2000/XP";
inline constexpr std::string_view kEmailCaptionPrefix = "Email: ";
inline constexpr std::string_view kMailtoScheme = "mailto:";

}  // namespace qfd::about
