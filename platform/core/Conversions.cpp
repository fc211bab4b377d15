#include "Conversions.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

std::int32_t RuntimeCvtReal64ToSInt32(double value) noexcept
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

double RuntimeCvtSInt32ToReal64(std::int32_t value) noexcept
{
    return static_cast<double>(value);
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the digit run starting at i.
std::size_t digitsAt(std::string_view s, std::size_t i)
{
    std::size_t n = 0;
    while (i + n < s.size() && isDigit(s[i + n]))
        ++n;
    return n;
}

}

double Val(const String& text) noexcept
{
    std::string_view s = text.bytes();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t intDigits = digitsAt(s, i);
    i += intDigits;
    std::size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') {
        fracDigits = digitsAt(s, i + 1);
        if (intDigits + fracDigits > 0)
            i += 1 + fracDigits;
    }
    if (intDigits + fracDigits == 0)
        return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (const std::size_t expDigits = digitsAt(s, j))
            i = j + expDigits;
    }
    // from_chars takes no leading '+'.
    std::size_t from = start;
    if (s[from] == '+')
        ++from;
    double result = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data() + from, s.data() + i, result, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Either overflow or underflow; tell them apart by the exponent's sign.
        const bool negative = s[start] == '-';
        const std::string_view rest = s.substr(from, i - from);
        const std::size_t e = rest.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-';
        if (tiny)
            return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    return result;
}

String Str(std::int32_t value)
{
    char buffer[16];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    return String(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

}
