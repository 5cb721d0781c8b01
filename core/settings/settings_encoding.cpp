#include "core/settings/settings_encoding.h"

#include "core/settings/text_encoding.h"

#include <cstddef>

namespace qfd {
namespace {

constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr char32_t kReplacement = 0xFFFD;

// The code unit at s[i], s[i + 1], little end first.
char32_t UnitAt(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]) |
           (static_cast<char32_t>(static_cast<unsigned char>(s[i + 1])) << 8);
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::string Utf16LeToUtf8(std::string_view units) {
    std::string out;
    out.reserve(units.size());
    std::size_t i = 0;
    for (; i + 1 < units.size(); i += 2) {
        const char32_t unit = UnitAt(units, i);
        if (IsHighSurrogate(unit) && i + 3 < units.size() && IsLowSurrogate(UnitAt(units, i + 2))) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (UnitAt(units, i + 2) - 0xDC00));
            i += 2;
        } else {
            const bool lone = IsHighSurrogate(unit) || IsLowSurrogate(unit);
            AppendUtf8(out, lone ? kReplacement : unit);
        }
    }
    // Half a code unit, as a torn or cut file leaves it.
    if (i < units.size()) AppendUtf8(out, kReplacement);
    return out;
}

void AppendUtf16Le(std::string& out, char32_t cp) {
    const auto unit = [&out](char32_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    };
    if (cp < 0x10000) {
        unit(cp);
    } else {
        unit(0xD800 + ((cp - 0x10000) >> 10));
        unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

// Every byte of `utf8` must belong to well-formed UTF-8, as FileBytesToUtf8 makes it.
std::string Utf8ToUtf16Le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    for (std::size_t i = 0; i < utf8.size();) AppendUtf16Le(out, NextCodePoint(utf8, i));
    return out;
}

}  // namespace

DecodedSettings DecodeSettingsFile(std::string_view fileBytes) {
    if (!fileBytes.starts_with(kUtf16LeBom)) {
        return {SettingsEncoding::Bytes, std::string(fileBytes)};
    }
    return {SettingsEncoding::Utf16Le, Utf16LeToUtf8(fileBytes.substr(kUtf16LeBom.size()))};
}

std::string EncodeSettingsFile(std::string_view text, SettingsEncoding encoding) {
    if (encoding == SettingsEncoding::Bytes) return std::string(text);
    return std::string(kUtf16LeBom) + Utf8ToUtf16Le(FileBytesToUtf8(text));
}

}  // namespace qfd
