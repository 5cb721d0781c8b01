#pragma once

#include <cstdint>
#include <string>

namespace qfd {

// Section and key names of the settings file.
namespace sections {
inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kNetwork = "Network Settings";
inline constexpr const char* kCommands = "Commands";
}  // namespace sections

// The program-wide copy of the user's settings, filled at start-up and kept in step with the file
// by the options dialog. Names follow the settings keys.
struct SettingsMirror {
    std::string IniPath;
    std::string myName;
    std::int16_t Delay = 5;
    std::int16_t Latency = 100;
    std::string Sound = "101";
    std::int32_t Colour1 = 255;       // 0x00BBGGRR: red
    std::int32_t Colour2 = 0;         // black
    std::int32_t Colour3 = 0;         // black
    std::int32_t Colour4 = 16777215;  // white
    std::int16_t Small = 0;
    std::string QFtext = "Quorf";
    std::string Atext = "Alert";
    std::int16_t NetDelay = 0;
    std::string SenderName;
};

// Reads the twelve settings from section "Settings" of mirror.IniPath, in the start-up order
// myName, Delay, Latency, Sound, Colour1..Colour4, Small, QFtext, Atext, NetDelay. A numeric key
// that is empty, not a number or out of its variable's range takes its default.
void LoadSettingsMirror(SettingsMirror& mirror);

// A numeric setting read with ReadIni and converted; the default when the text is no number or out
// of range, so a damaged file never gives a crash or a wrapped value.
std::int16_t ReadInt16Setting(const std::string& file, const char* section, const char* key,
                              std::int16_t defaultValue);
std::int32_t ReadInt32Setting(const std::string& file, const char* section, const char* key,
                              std::int32_t defaultValue);

}  // namespace qfd
