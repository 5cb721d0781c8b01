#include "core/settings/settings_mirror.h"

#include <array>
#include <string>
#include <variant>

#include "core/settings/ini_access.h"
#include "core/settings/number_form.h"

namespace qfd {
namespace {

// The mirror's variable of each entry of kSettingSpecs, in the table's order. The alternatives
// stand in SettingWidth's order, so a variable of another width than its setting does not build.
using MirrorField = std::variant<std::string SettingsMirror::*, std::int16_t SettingsMirror::*,
                                 std::int32_t SettingsMirror::*>;
constexpr std::array<MirrorField, kSettingSpecs.size()> kMirrorFields{
    &SettingsMirror::myName,  &SettingsMirror::Delay,   &SettingsMirror::Latency,
    &SettingsMirror::Sound,   &SettingsMirror::Colour1, &SettingsMirror::Colour2,
    &SettingsMirror::Colour3, &SettingsMirror::Colour4, &SettingsMirror::Small,
    &SettingsMirror::QFtext,  &SettingsMirror::Atext,   &SettingsMirror::NetDelay};

constexpr bool FieldsMatchWidths() {
    for (std::size_t i = 0; i < kSettingSpecs.size(); ++i)
        if (kMirrorFields[i].index() != static_cast<std::size_t>(kSettingSpecs[i].width))
            return false;
    return true;
}
static_assert(FieldsMatchWidths(), "a mirror variable of another width than its setting");

void Put(std::string& variable, const std::string& text, const SettingSpec&) { variable = text; }

// A number that does not fit its variable gives the default, never a wrapped value.
void Put(std::int16_t& variable, const std::string& text, const SettingSpec& spec) {
    variable = ParseInt16(text).value_or(static_cast<std::int16_t>(DefaultNumber(spec)));
}

void Put(std::int32_t& variable, const std::string& text, const SettingSpec& spec) {
    variable = ParseInt32(text).value_or(static_cast<std::int32_t>(DefaultNumber(spec)));
}

// Sets every variable of the table, in its order, from the text textOf gives for its entry.
template <class TextOf>
void Fill(SettingsMirror& m, TextOf textOf) {
    for (std::size_t i = 0; i < kSettingSpecs.size(); ++i) {
        const SettingSpec& spec = kSettingSpecs[i];
        const std::string text = textOf(spec);
        std::visit([&](auto field) { Put(m.*field, text, spec); }, kMirrorFields[i]);
    }
}

}  // namespace

SettingsMirror::SettingsMirror() {
    Fill(*this, [](const SettingSpec& spec) { return std::string(spec.defaultText); });
}

std::int16_t ReadInt16Setting(const std::string& file, const char* section, const char* key,
                              std::int16_t defaultValue) {
    const std::string text = ReadIni(file, section, key, std::to_string(defaultValue));
    return ParseInt16(text).value_or(defaultValue);
}

std::string ReadTextSetting(const std::string& file, const SettingSpec& spec) {
    return ReadIni(file, spec.section, spec.key, spec.defaultText);
}

void LoadSettingsMirror(SettingsMirror& m) {
    Fill(m, [&m](const SettingSpec& spec) { return ReadTextSetting(m.IniPath, spec); });
}

}  // namespace qfd
