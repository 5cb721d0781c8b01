#include "settings/ini_access.h"

#include <optional>

#include "settings/ini_text.h"

namespace qfd {
namespace {

constexpr std::size_t kLongestUtf8Sequence = 4;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

std::string CutAtCharacterBoundary(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (IsContinuation(byteAt(maxBytes))) {
        // Find the lead byte of the character the cut falls into; cut before it only when the
        // bytes really form one UTF-8 character (a Windows-1252 text keeps its last letter).
        std::size_t lead = maxBytes;
        while (lead > 0 && maxBytes - lead < kLongestUtf8Sequence - 1 &&
               IsContinuation(byteAt(lead))) {
            --lead;
        }
        const std::size_t length = SequenceLength(byteAt(lead));
        bool whole = length > 0 && lead + length > maxBytes && lead + length <= text.size();
        for (std::size_t i = lead + 1; whole && i < lead + length; ++i) {
            whole = IsContinuation(byteAt(i));
        }
        if (whole) maxBytes = lead;
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
