#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qfd {

// Numbers as settings files hold them.

// Decimal text with one blank before a number that is zero or positive and a minus sign before a
// negative one: 5 gives " 5", -3 gives "-3". Also forms the detector slot keys ("Option 12").
std::string NumberForm(std::int64_t n);

// Decimal text with surrounding blanks, an optional sign, fraction and exponent, rounded to the
// nearest whole number with halves to the even neighbour (7.5 gives 8, 6.5 gives 6). Nothing when
// the text is not such a number or lies beyond what a double holds exactly.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

// The same, limited to the mirror variables' widths; nothing when out of range.
std::optional<std::int16_t> ParseInt16(std::string_view text);
std::optional<std::int32_t> ParseInt32(std::string_view text);

}  // namespace qfd
