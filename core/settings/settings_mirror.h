#pragma once

#include <cstdint>
#include <string>

#include "core/settings/settings_table.h"

namespace qfd {

// The program-wide copy of the user's settings, filled at start-up and kept in step with the file
// by the options dialog. Names follow the settings keys; a new mirror holds kSettingSpecs'
// defaults.
struct SettingsMirror {
    SettingsMirror();

    std::string IniPath;
    std::string myName;
    std::int16_t Delay;
    std::int16_t Latency;
    std::string Sound;
    std::int32_t Colour1;  // 0x00BBGGRR
    std::int32_t Colour2;
    std::int32_t Colour3;
    std::int32_t Colour4;
    std::int16_t Small;
    std::string QFtext;
    std::string Atext;
    std::int16_t NetDelay;
    std::string SenderName;

    bool operator==(const SettingsMirror&) const = default;
};

// Reads the twelve settings of kSettingSpecs from mirror.IniPath, in the table's order. A numeric
// key that is empty, not a number or out of its variable's range takes its default.
void LoadSettingsMirror(SettingsMirror& mirror);

// A numeric setting read with ReadIni and converted; the default when the text is no number or out
// of range, so a damaged file never gives a crash or a wrapped value.
std::int16_t ReadInt16Setting(const std::string& file, const char* section, const char* key,
                              std::int16_t defaultValue);

// A text setting of the table, or its default while the file lacks it.
std::string ReadTextSetting(const std::string& file, const SettingSpec& spec);

}  // namespace qfd
