#include "core/options/typed_number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace qfd {
namespace {

// The largest double that prints with 15 significant digits and reads back unchanged.
constexpr double kLargestNumber = 1.79769313486231e308;

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

double Clamp(double v) {
    if (v > kLargestNumber) return kLargestNumber;
    if (v < -kLargestNumber) return -kLargestNumber;
    return v;
}

double ReadBased(std::string_view digits, int base) {
    double value = 0;
    for (char c : digits) {
        const int d = DigitValue(c, base);
        if (d < 0) break;
        value = Clamp(value * base + d);
    }
    return value;
}

double ReadDecimal(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

    std::string mantissa;  // digits only, the point remembered as a position
    long long pointShift = 0;
    bool anyDigit = false;
    while (i < s.size() && IsDigit(s[i])) {
        mantissa += s[i++];
        anyDigit = true;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            mantissa += s[i++];
            --pointShift;
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0;

    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) expNegative = s[j++] == '-';
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) {
                // Saturates far beyond any double's range, where the outcome no longer changes.
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[j] - '0');
                ++j;
            }
            if (expNegative) exponent = -exponent;
        }
    }

    const std::size_t firstSignificant = mantissa.find_first_not_of('0');
    if (firstSignificant == std::string::npos) return 0;
    // The decimal magnitude of the leading significant digit tells overflow from underflow.
    const long long digitsAfterLead =
        static_cast<long long>(mantissa.size() - firstSignificant) - 1;
    const long long magnitude = digitsAfterLead + pointShift + exponent;
    if (magnitude > 400) return negative ? -kLargestNumber : kLargestNumber;
    if (magnitude < -400) return 0;

    std::string text =
        mantissa.substr(firstSignificant) + "e" + std::to_string(pointShift + exponent);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) value = magnitude > 0 ? kLargestNumber : 0;
    value = Clamp(value);
    return negative ? -value : value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!IsSkipped(c)) s += c;

    if (!s.empty() && s[0] == '&') {
        if (s.size() < 2) return 0;
        if (s[1] == 'H' || s[1] == 'h') return ReadBased(std::string_view(s).substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return ReadBased(std::string_view(s).substr(2), 8);
        return 0;
    }
    return ReadDecimal(s);
}

std::string NumberText(double value) {
    if (value == 0 || std::isnan(value)) return "0";  // also no "-0"
    value = Clamp(value);
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, 15);
    (void)ec;  // 64 characters hold any double at 15 digits
    std::string text(buffer.data(), end);
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}

std::string NormaliseTypedNumber(std::string_view text) { return NumberText(LeadingNumber(text)); }

std::int16_t WholeNumber16(double value) {
    constexpr double kMin = std::numeric_limits<std::int16_t>::min();
    constexpr double kMax = std::numeric_limits<std::int16_t>::max();
    if (std::isnan(value)) return 0;
    // The default rounding mode rounds halves to even.
    const double rounded = std::nearbyint(value);
    if (rounded <= kMin) return std::numeric_limits<std::int16_t>::min();
    if (rounded >= kMax) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(rounded);
}

}  // namespace qfd
