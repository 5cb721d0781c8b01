#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qfd {

// A value found in INI text. A value on a last line without a line break may be the torn front
// of a file that another process is rewriting in place, so callers may want to look again.
struct IniValue {
    std::string_view text;
    bool lineTerminated = false;
};

// Looks up a key with the platform's private-profile reading rules: names match without regard
// to ASCII case, blanks around names and values are trimmed, one pair of quotes is removed, the
// first section and the first key of a name win, ';' lines are comments, a UTF-8 byte-order mark
// is ignored and lines holding a NUL byte are neither keys nor headers.
std::optional<IniValue> FindIniValue(std::string_view file, std::string_view section,
                                     std::string_view key);

// Returns the file with the key set to the value, or nothing when the value already reads back
// the same (the file is then left untouched). Every other line stays byte for byte; a missing key
// goes after the last key line of its section, a missing section at the end of the file; new lines
// end with CRLF. A UTF-8 byte-order mark is dropped so that Windows reads the file right.
// The caller must have removed CR, LF and NUL from the names and the value.
std::optional<std::string> SetIniValue(std::string_view file, std::string_view section,
                                       std::string_view key, std::string_view value);

// What a value written as `raw` reads back as: blanks and tabs trimmed, one pair of quotes removed.
std::string_view ReadBackForm(std::string_view raw);

}  // namespace qfd
