#include "processor/StateNumbers.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace veridane
{
namespace
{
/** 17 digits a double holds, and one more to round with. */
constexpr int maxSignificantDigits = 18;
constexpr int largestExponent = std::numeric_limits<double>::max_exponent10 + 1;
constexpr int smallestExponent = std::numeric_limits<double>::min_exponent10 - 1;
/** Far beyond any exponent a double has, and beyond any count of digits a text can hold, so a
    sum of the two never changes sign when the written exponent is capped here. */
constexpr std::int64_t exponentCap = 1'000'000'000'000;

/** Decimal text to double, with a point as separator whatever the process locale says. */
double decimalToDouble(const char* digits) noexcept
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return cLocale != locale_t{} ? strtod_l(digits, nullptr, cLocale)
                                 : std::strtod(digits, nullptr);
}

bool isLetter(juce::juce_wchar c, char lowerCase) noexcept
{
    return c == lowerCase || c == lowerCase - 'a' + 'A';
}

/** The leading number by the framework's rules, NaN and infinities included. */
float leadingNumber(const char* text) noexcept
{
    constexpr float infinity = std::numeric_limits<float>::infinity();
    auto t = juce::CharPointer_UTF8(text).findEndOfWhitespace();

    // The number rewritten for strtod: sign, up to 18 digits, point, exponent of three digits.
    char digits[1 + maxSignificantDigits + 1 + 5 + 1] = {};
    char* out = digits;
    bool negative = false;
    auto c = *t;
    if (c == '-')
    {
        negative = true;
        *out++ = '-';
        c = *++t;
    }
    else if (c == '+')
    {
        c = *++t;
    }

    if (isLetter(c, 'n'))
        return isLetter(t[1], 'a') && isLetter(t[2], 'n')
                   ? float(std::numeric_limits<double>::quiet_NaN())
                   : 0.0f;
    if (isLetter(c, 'i'))
        return isLetter(t[1], 'n') && isLetter(t[2], 'f') ? (negative ? -infinity : infinity)
                                                          : 0.0f;

    int numSignificant = 0;
    std::int64_t exponent = 0; // powers of ten of the integer digits beyond the 18 kept
    bool pointFound = false;
    bool leadingZeros = false;
    for (;;)
    {
        if (t.isDigit())
        {
            const char digit = char(t.getAndAdvance());
            if (numSignificant >= maxSignificantDigits)
            {
                if (!pointFound)
                    ++exponent;
                continue;
            }
            if (!pointFound && numSignificant == 0 && digit == '0')
            {
                leadingZeros = true;
                continue;
            }
            *out++ = digit;
            ++numSignificant;
        }
        else if (!pointFound && *t == '.')
        {
            ++t;
            *out++ = '.';
            pointFound = true;
        }
        else
        {
            break;
        }
    }
    if (!leadingZeros && numSignificant == 0)
        return 0.0f;

    const bool exponentWritten = *t == 'e' || *t == 'E';
    if (exponentWritten)
    {
        ++t;
        const bool negativeExponent = *t == '-';
        if (*t == '-' || *t == '+')
            ++t;
        std::int64_t written = 0;
        while (t.isDigit())
            written = std::min(written * 10 + (t.getAndAdvance() - '0'), exponentCap);
        exponent += negativeExponent ? -written : written;
    }

    if (exponentWritten || exponent > 0)
    {
        if (exponent < smallestExponent)
            return negative ? -0.0f : 0.0f;
        if (exponent > largestExponent)
            return negative ? -infinity : infinity;
        *out++ = 'e';
        if (exponent < 0)
        {
            *out++ = '-';
            exponent = -exponent;
        }
        *out++ = char('0' + exponent / 100);
        *out++ = char('0' + exponent / 10 % 10);
        *out++ = char('0' + exponent % 10);
    }
    // Only zeros: the framework's conversion hands strtod a bare "-" here and loses the sign, so
    // a gain of -0 would not survive its own saved text "-0".
    if (numSignificant == 0)
        return negative ? -0.0f : 0.0f;
    return float(decimalToDouble(digits));
}
} // namespace

float leadingFloat(const char* text) noexcept
{
    // A host must never be handed a gain that is no number.
    const float number = leadingNumber(text);
    return std::isfinite(number) ? number : 0.0f;
}

std::int32_t leadingInteger(const char* text) noexcept
{
    auto t = juce::CharPointer_UTF8(text).findEndOfWhitespace();
    const bool negative = *t == '-';
    if (negative || *t == '+')
        ++t;

    std::uint32_t magnitude = 0;
    for (auto c = *t; c >= '0' && c <= '9'; c = *++t)
        magnitude = magnitude * 10u + std::uint32_t(c - '0');

    return std::int32_t(negative ? 0u - magnitude : magnitude);
}

} // namespace veridane
