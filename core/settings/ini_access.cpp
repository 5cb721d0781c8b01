#include "core/settings/ini_access.h"

#include <optional>

#include "core/settings/ini_text.h"
#include "core/settings/text_encoding.h"

namespace qfd {
namespace {

constexpr std::size_t kLongestUtf8Sequence = 4;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string CutAtCharacterBoundary(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    // Cut before the character the limit falls into, only when its bytes really form one UTF-8
    // character (a Windows-1252 text keeps its last letter).
    for (std::size_t back = 1; back < kLongestUtf8Sequence && back <= maxBytes; ++back) {
        const std::size_t lead = maxBytes - back;
        if (IsContinuation(text[lead])) continue;
        if (Utf8SequenceLength(text, lead) > back) maxBytes = lead;
        break;
    }
    text.resize(maxBytes);
    return text;
}

std::string ReadIni(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view defaultValue) {
    // Ask for a few bytes more than the limit to see whether the cut splits a character.
    std::string value = ReadProfileValue(file, section, key, defaultValue,
                                         kReadIniMaxBytes + kLongestUtf8Sequence + 1);
    return CutAtCharacterBoundary(std::move(value), kReadIniMaxBytes);
}

std::string ReadIniFrom(std::string_view fileBytes, std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
    const std::optional<IniValue> found = FindIniValue(fileBytes, section, key);
    std::string value;
    if (found) {
        value = found->text;
    } else {
        value = defaultValue.substr(0, defaultValue.find_last_not_of(' ') + 1);
    }
    return CutAtCharacterBoundary(std::move(value), kReadIniMaxBytes);
}

WriteOutcome WriteIni(const std::string& file, std::string_view section, std::string_view key,
                      std::string& value, LockWait wait) {
    BlankLineBreaks(value);
    return WriteProfileValue(file, section, key, value, wait);
}

}  // namespace qfd
