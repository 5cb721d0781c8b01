#include "common/ansi_text.h"

#include <windows.h>

#include <climits>

namespace qfd {
namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    const int count = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), count);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int length = static_cast<int>(wide.size());
    const int count =
        WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return {};
    std::string narrow(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), count, nullptr, nullptr);
    return narrow;
}

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

bool IsWellFormedUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        std::uint32_t point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            point = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            point = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            point = lead & 0x07u;
        } else {
            return false;
        }
        if (bytes.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if (!IsContinuation(c)) return false;
            point = (point << 6) | (c & 0x3Fu);
        }
        const bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
        const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
        if (overlong || surrogate || point > 0x10FFFF) return false;
        i += length;
    }
    return true;
}

std::string SettingToAnsi(std::string_view bytes) {
    if (IsAscii(bytes) || !IsWellFormedUtf8(bytes)) return std::string(bytes);
    return Narrow(Widen(bytes, CP_UTF8), CP_ACP);
}

std::string Utf8ToAnsi(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    return Narrow(Widen(utf8, CP_UTF8), CP_ACP);
}

std::string PlainAnsiLine(std::string_view settingBytes) {
    // Control bytes are never part of a double-byte character in any ANSI code page.
    std::string line = SettingToAnsi(settingBytes);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return line;
}

}  // namespace qfd
