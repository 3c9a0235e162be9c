// Decimal numbers as text, the same in every process locale: full stop, no grouping.
#pragma once

#include <cstdint>
#include <string>

/** Appends the value in fixed notation with exactly `precision` digits after the full stop,
    correctly rounded; a leading minus for negative values (-0.000 included), no point at
    precision 0. A negative precision means 6. */
void appendFixed(std::string& text, double value, int32_t precision);

/** Reads the prefix after leading white space that forms a decimal number (sign, digits, full
    stop and digits, exponent) as the classic locale's stream extraction does. False for no
    number, one beyond the range of a double, or an exponent without digits ("1e"); hexadecimal,
    infinity and NaN texts are not numbers. */
bool parseDecimalPrefix(const char* text, double& value);
