#pragma once

#include <string_view>

namespace qfd::options_text {

// Texts of frmOptions that its behaviour shows or stores.
inline constexpr std::string_view kDefaultsQuestion =
    "Are you sure you want to revert to the default settings?";
inline constexpr std::string_view kColourChooserTitle = "Choose a Colour";
inline constexpr std::string_view kPreviewCaption = "Preview";
inline constexpr std::string_view kNoDetectorsRow = "(none)";

// "&Browse..." and "&Remove".
inline constexpr std::string_view kFileChooserTitle = "Choose QF Detect Application";
inline constexpr std::string_view kFileFilterDescription = "Quorf Detector EXE";
inline constexpr std::string_view kAddSelfRefusal =
    "Hey! You can't add yourself. That's unnatural! You larrikan!";
inline constexpr std::string_view kDuplicateRefusal = "Hey! That's already in the list. You scamp!";
inline constexpr std::string_view kListFullRefusal =
    "Hey! There's no room left for another Network Detector. Get rid of one first, you hoarder!";
inline constexpr std::string_view kPathTooLongRefusal =
    "Hey! That path is too long for me to remember. Pick a shorter one, you drongo!";
// Around the reason the settings file gave.
inline constexpr std::string_view kAddNotStoredPrefix =
    "Hey! I couldn't write that Network Detector into qfd.ini: ";
inline constexpr std::string_view kAddNotStoredSuffix = ". Nothing was added, you galah!";
inline constexpr std::string_view kRemoveNotStoredPrefix =
    "Hey! I couldn't get rid of that Network Detector in qfd.ini: ";
inline constexpr std::string_view kRemoveNotStoredSuffix = ". It's still in the list, you galah!";
inline constexpr std::string_view kNothingToRemove = "You can't get rid of nothing! You scallywag!";
inline constexpr std::string_view kRemoveQuestionPrefix = "Are you sure you want to get rid of '";
inline constexpr std::string_view kRemoveQuestionSuffix = "'?";

}  // namespace qfd::options_text
