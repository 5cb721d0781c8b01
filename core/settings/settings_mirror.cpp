#include "settings/settings_mirror.h"

#include <string>

#include "settings/ini_access.h"
#include "settings/number_form.h"

namespace qfd {

std::int16_t ReadInt16Setting(const std::string& file, const char* section, const char* key,
                              std::int16_t defaultValue) {
    const std::string text = ReadIni(file, section, key, std::to_string(defaultValue));
    return ParseInt16(text).value_or(defaultValue);
}

std::int32_t ReadInt32Setting(const std::string& file, const char* section, const char* key,
                              std::int32_t defaultValue) {
    const std::string text = ReadIni(file, section, key, std::to_string(defaultValue));
    return ParseInt32(text).value_or(defaultValue);
}

void LoadSettingsMirror(SettingsMirror& m) {
    const std::string& file = m.IniPath;
    const char* s = sections::kSettings;
    m.myName = ReadIni(file, s, "myName", "");
    m.Delay = ReadInt16Setting(file, s, "Delay", 5);
    m.Latency = ReadInt16Setting(file, s, "Latency", 100);
    m.Sound = ReadIni(file, s, "Sound", "101");
    m.Colour1 = ReadInt32Setting(file, s, "Colour1", 255);
    m.Colour2 = ReadInt32Setting(file, s, "Colour2", 0);
    m.Colour3 = ReadInt32Setting(file, s, "Colour3", 0);
    m.Colour4 = ReadInt32Setting(file, s, "Colour4", 16777215);
    m.Small = ReadInt16Setting(file, s, "Small", 0);
    m.QFtext = ReadIni(file, s, "QFtext", "Quorf");
    m.Atext = ReadIni(file, s, "Atext", "Alert");
    m.NetDelay = ReadInt16Setting(file, s, "NetDelay", 0);
}

}  // namespace qfd
