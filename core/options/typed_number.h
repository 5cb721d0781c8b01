#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qfd {

// The delay and latency boxes accept anything typed and turn it into a number at once.

// The number that leads the text. Blanks, tabs and line feeds are skipped wherever they stand;
// then an optional sign, digits, a decimal point (always a point, whatever the locale) with more
// digits, and an exponent introduced by E or D; or "&H" with hexadecimal digits, or "&O" with octal
// digits, read as a whole number without a sign. Reading stops at the first character that cannot
// continue the number; no number gives 0. A magnitude beyond what a double holds gives the largest
// one that prints back to itself, so a typed 1E999 never becomes infinity.
double LeadingNumber(std::string_view text);

// Plain decimal text with up to 15 significant digits and no trailing zeros ("2.5", "-5", "0");
// exponent form ("1E+15", "1E-05") from 1E15 up and below 1E-4. Reading the text back with
// LeadingNumber gives the same text again.
std::string NumberText(double value);

// What a box shows after a change: NumberText(LeadingNumber(text)).
std::string NormaliseTypedNumber(std::string_view text);

// The nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4), held to the
// 16-bit range of the settings it feeds: a number beyond it is stored as the nearest end of the
// range, never wrapped.
std::int16_t WholeNumber16(double value);

}  // namespace qfd
