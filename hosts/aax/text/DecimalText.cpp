#include "hosts/aax/text/DecimalText.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace
{
constexpr int32_t kDefaultPrecision = 6;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The white space of the classic locale.
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* skipDigits(const char* p)
{
    while (isDigit(*p))
        ++p;
    return p;
}

// The end of the number at `start`, or `start` when none begins there. As a stream extraction
// does, an 'e' after the digits is taken with its sign, so an exponent without digits ("1e",
// "2.5e+", "3e-x") makes the whole text no number: null then.
const char* endOfDecimal(const char* start)
{
    const char* p = start;
    if (*p == '+' || *p == '-')
        ++p;
    const char* const integerEnd = skipDigits(p);
    bool anyDigit = integerEnd != p;
    p = integerEnd;
    if (*p == '.')
    {
        const char* const fractionEnd = skipDigits(p + 1);
        anyDigit = anyDigit || fractionEnd != p + 1;
        p = fractionEnd;
    }
    if (!anyDigit)
        return start;
    if (*p == 'e' || *p == 'E')
    {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-')
            ++exponent;
        if (!isDigit(*exponent))
            return nullptr;
        p = skipDigits(exponent);
    }
    return p;
}

// Whether a decimal number that a double cannot hold is too large rather than too small: its
// leading digit stands at or above the units place. Digits and exponent are counted, not
// converted, so no length of text overflows the count.
bool isTooLarge(const char* number, const char* end)
{
    const char* p = *number == '-' ? number + 1 : number;
    while (p != end && *p == '0')
        ++p;
    const char* const integerEnd = skipDigits(p);
    int64_t order = integerEnd - p - 1;
    p = integerEnd;
    if (order < 0 && p != end && *p == '.')
    {
        const char* const firstFigure = p + 1;
        const char* q = firstFigure;
        while (q != end && *q == '0')
            ++q;
        order = -(q - firstFigure) - 1;
    }
    while (p != end && *p != 'e' && *p != 'E')
        ++p;
    if (p == end)
        return order >= 0;
    ++p;
    const bool negativeExponent = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    constexpr int64_t kBeyondAnyDouble = 1'000'000'000;
    int64_t exponent = 0;
    for (; p != end; ++p)
        exponent = std::min(exponent * 10 + (*p - '0'), kBeyondAnyDouble);
    return order + (negativeExponent ? -exponent : exponent) >= 0;
}
} // namespace

void appendFixed(std::string& text, double value, int32_t precision)
{
    const int32_t digits = precision < 0 ? kDefaultPrecision : precision;
    // Sign, the integer digits of the largest double, the full stop and the fraction.
    const std::size_t room =
        2 + std::numeric_limits<double>::max_exponent10 + 1 + static_cast<std::size_t>(digits);
    const std::size_t start = text.size();
    text.resize(start + room);
    char* const first = text.data() + start;
    const auto written =
        std::to_chars(first, first + room, value, std::chars_format::fixed, digits);
    text.resize(written.ec == std::errc() ? start + static_cast<std::size_t>(written.ptr - first)
                                          : start);
}

bool parseDecimalPrefix(const char* text, double& value)
{
    value = 0.0;
    if (text == nullptr)
        return false;
    while (isSpace(*text))
        ++text;
    const char* const end = endOfDecimal(text);
    if (end == nullptr || end == text)
        return false;

    // from_chars takes no plus sign.
    const char* const digits = *text == '+' ? text + 1 : text;
    double parsed = 0.0;
    const auto read = std::from_chars(digits, end, parsed, std::chars_format::general);
    if (read.ec == std::errc::result_out_of_range)
    {
        // Too small to tell from zero reads as zero, as a stream extraction does; too large for
        // a double is no number.
        if (isTooLarge(digits, end))
            return false;
        parsed = *digits == '-' ? -0.0 : 0.0;
    }
    else if (read.ec != std::errc() || read.ptr != end)
        return false;
    value = parsed;
    return true;
}
