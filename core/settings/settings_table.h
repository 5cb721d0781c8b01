#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace qfd {

// Section names of the settings file.
namespace sections {
inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kNetwork = "Network Settings";
inline constexpr const char* kCommands = "Commands";
}  // namespace sections

// How a setting is held in the program: as text, or as a number of that many bits.
enum class SettingWidth { Text, Int16, Int32 };

// Where a setting lives in the file and what it is while the file lacks it. A number's default is
// plain decimal digits; it also stands in for a stored text that is no number of its width.
struct SettingSpec {
    const char* section;
    const char* key;
    const char* defaultText;
    SettingWidth width;
};

// The user's settings, in the order start-up reads them. This is the one place of their defaults.
inline constexpr std::array<SettingSpec, 12> kSettingSpecs{{
    {sections::kSettings, "myName", "", SettingWidth::Text},
    {sections::kSettings, "Delay", "5", SettingWidth::Int16},
    {sections::kSettings, "Latency", "100", SettingWidth::Int16},
    {sections::kSettings, "Sound", "101", SettingWidth::Text},
    {sections::kSettings, "Colour1", "255", SettingWidth::Int32},       // 0x00BBGGRR: red
    {sections::kSettings, "Colour2", "0", SettingWidth::Int32},         // black
    {sections::kSettings, "Colour3", "0", SettingWidth::Int32},         // black
    {sections::kSettings, "Colour4", "16777215", SettingWidth::Int32},  // white
    {sections::kSettings, "Small", "0", SettingWidth::Int16},
    {sections::kSettings, "QFtext", "Quorf", SettingWidth::Text},
    {sections::kSettings, "Atext", "Alert", SettingWidth::Text},
    {sections::kSettings, "NetDelay", "0", SettingWidth::Int16},
}};

// The options dialog never stores a latency below this; a hand-edited smaller value (zero or
// negative included) would make the timer spin or the splash countdown divide by zero.
inline constexpr std::int16_t kMinimumLatency = 10;

// The place of key, spelt exactly as in the table; kSettingSpecs.size() for any other key.
constexpr std::size_t SettingIndex(std::string_view key) {
    std::size_t i = 0;
    while (i < kSettingSpecs.size() && key != kSettingSpecs[i].key) ++i;
    return i;
}

// The value of a numeric setting's default digits.
constexpr std::int64_t DefaultNumber(const SettingSpec& spec) {
    std::int64_t n = 0;
    for (const char c : std::string_view(spec.defaultText)) n = n * 10 + (c - '0');
    return n;
}

namespace detail {

// Never defined: reaching a call while compiling stops the build at the faulty lookup.
void SettingMissingOrOfAnotherWidth();

consteval const SettingSpec& Lookup(std::string_view key, SettingWidth width) {
    const std::size_t i = SettingIndex(key);
    if (i == kSettingSpecs.size() || kSettingSpecs[i].width != width) {
        SettingMissingOrOfAnotherWidth();
    }
    return kSettingSpecs[i];
}

// Unique keys, and numeric defaults of digits only that fit their width.
constexpr bool DefaultFits(const SettingSpec& spec) {
    const std::string_view text = spec.defaultText;
    if (spec.width == SettingWidth::Text) return true;
    if (text.empty() || text.size() > 10) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return DefaultNumber(spec) <= (spec.width == SettingWidth::Int16 ? INT16_MAX : INT32_MAX);
}

constexpr bool TableIsSound() {
    for (std::size_t i = 0; i < kSettingSpecs.size(); ++i) {
        if (SettingIndex(kSettingSpecs[i].key) != i || !DefaultFits(kSettingSpecs[i])) return false;
    }
    return true;
}
static_assert(TableIsSound(), "a key twice, or a numeric default that is no number of its width");

}  // namespace detail

// Lookups while compiling: a key the table lacks, or holds with another width, does not build.
consteval const SettingSpec& TextSetting(std::string_view key) {
    return detail::Lookup(key, SettingWidth::Text);
}
consteval const SettingSpec& Int16Setting(std::string_view key) {
    return detail::Lookup(key, SettingWidth::Int16);
}
consteval const SettingSpec& Int32Setting(std::string_view key) {
    return detail::Lookup(key, SettingWidth::Int32);
}
consteval const char* DefaultText(std::string_view key) { return TextSetting(key).defaultText; }
consteval std::int16_t DefaultInt16(std::string_view key) {
    return static_cast<std::int16_t>(DefaultNumber(Int16Setting(key)));
}
consteval std::int32_t DefaultInt32(std::string_view key) {
    return static_cast<std::int32_t>(DefaultNumber(Int32Setting(key)));
}

}  // namespace qfd
