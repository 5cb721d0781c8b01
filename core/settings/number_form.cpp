#include "core/settings/number_form.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qfd {
namespace {

constexpr double kLargestExactInteger = 9007199254740992.0;  // 2^53

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i;
}

// Checks the shape [sign] digits [. digits] [E [sign] digits] with at least one mantissa digit,
// which also keeps out "inf", "nan" and hexadecimal forms that from_chars would take.
bool IsDecimalNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t intStart = i;
    i = SkipDigits(s, i);
    std::size_t digits = i - intStart;
    if (i < s.size() && s[i] == '.') {
        const std::size_t fracStart = ++i;
        i = SkipDigits(s, i);
        digits += i - fracStart;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        const std::size_t expStart = i;
        i = SkipDigits(s, i);
        if (i == expStart) return false;
    }
    return i == s.size();
}

template <typename Int>
std::optional<Int> InRange(std::optional<std::int64_t> n) {
    if (!n || *n < std::numeric_limits<Int>::min() || *n > std::numeric_limits<Int>::max()) {
        return std::nullopt;
    }
    return static_cast<Int>(*n);
}

}  // namespace

std::string NumberForm(std::int64_t n) {
    std::string text = std::to_string(n);
    if (n >= 0) text.insert(text.begin(), ' ');
    return text;
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (!IsDecimalNumber(text)) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (!(std::fabs(rounded) <= kLargestExactInteger)) return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
    return InRange<std::int16_t>(ParseWholeNumber(text));
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    return InRange<std::int32_t>(ParseWholeNumber(text));
}

}  // namespace qfd
