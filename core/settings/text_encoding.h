#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qfd {

// Settings values are bytes as they stand in the file; front ends convert them once, here.

// UTF-8 for display: valid UTF-8 sequences stay, every other byte is read as Windows-1252, so
// files written by Windows installations read right.
std::string FileBytesToUtf8(std::string_view bytes);

// Bytes to store for text a user typed (UTF-8): Windows-1252 when every character fits, else UTF-8.
std::string Utf8ToFileBytes(std::string_view utf8);

// Appends a code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// The length of the well-formed UTF-8 sequence of two to four bytes at s[i], or 0 where there is
// none (ASCII included).
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i);

// Whether the bytes are well-formed UTF-8 (ASCII included): no stray continuation byte, no
// overlong form, no surrogate, nothing above U+10FFFF, no sequence cut off at the end.
bool IsWellFormedUtf8(std::string_view bytes);

// The character at s[i], moving i past it: a well-formed UTF-8 sequence, or else the byte on its
// own as the code point of its value.
char32_t NextCodePoint(std::string_view s, std::size_t& i);

}  // namespace qfd
