#include "win32/common/ansi_text.h"

#include <windows.h>

#include <climits>

namespace qfd {
namespace {

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
