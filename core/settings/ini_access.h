#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/settings/profile_store.h"

namespace qfd {

// The program's only two ways to a settings file: one value per call, no cache.

// ReadIni asks with a buffer of 255, so a value comes back with at most this many bytes.
constexpr std::size_t kReadIniMaxBytes = 254;

// The value, or the default when the file, section or key is missing. An empty value is empty
// text, not the default. A longer value is cut to 254 bytes, never in the middle of a UTF-8
// character.
std::string ReadIni(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view defaultValue);

// Replaces every CR and LF in the caller's own variable by a blank, then stores it. The outcome
// is returned; the program's callers ignore it where a failed write is meant to go unnoticed.
WriteOutcome WriteIni(const std::string& file, std::string_view section, std::string_view key,
                      std::string& value, LockWait wait = LockWait::Patient);

// ReadIni's rules applied to the bytes of a file already read.
std::string ReadIniFrom(std::string_view fileBytes, std::string_view section, std::string_view key,
                        std::string_view defaultValue);

// Cuts text to at most maxBytes without leaving the front half of a UTF-8 character behind.
std::string CutAtCharacterBoundary(std::string text, std::size_t maxBytes);

}  // namespace qfd
