#pragma once

#include <cstdint>
#include <string_view>

namespace qfd {

// Ids of the four sound resources; the setting "Sound" holds one of them as decimal text.
inline constexpr std::int32_t kSoundWhoop = 101;
inline constexpr std::int32_t kSoundDeedoodeedoo = 102;
inline constexpr std::int32_t kSoundWeeooweeoo = 103;
inline constexpr std::int32_t kSoundNone = 104;  // silent; also what stops a playing sound
inline constexpr std::int32_t kDefaultSound = kSoundWhoop;

// The id to play for a value of the setting "Sound". The text is read as every number of the
// settings file is (blanks, sign, a fraction rounded to the nearest whole number). A value that
// is no number or names none of the four sounds counts as missing and gives the default "Whoop":
// only a hand-edited file holds one, and an alert that stays silent by accident misses its point.
std::int32_t SoundIdFromSetting(std::string_view soundSetting);

}  // namespace qfd
