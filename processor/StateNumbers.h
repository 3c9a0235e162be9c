#pragma once

#include <cstdint>

namespace veridane
{

/** The leading number of a saved text by the framework's rules for floats: leading white space
    skipped, an optional sign, "nan" and "inf" in any letter case, at most 18 significant digits
    (later ones only scale), an optional exponent; 0 when there is no number ("0x10" reads 0).
    The digits go through a double to the float. An exponent beyond any double reads as infinity
    or zero. Unlike the framework, a zero keeps its sign ("-0"), and a text that reads as NaN or
    an infinity ("nan", "-inf", "1e39") gives 0, as text that is not a number does. Takes valid,
    zero-terminated UTF-8. */
float leadingFloat(const char* text) noexcept;

/** The leading decimal integer of a saved text with C's atoi rules (leading white space, optional
    sign), 0 when there is none. Overlong digit runs wrap modulo 2^32 instead of overflowing.
    Takes valid, zero-terminated UTF-8. */
std::int32_t leadingInteger(const char* text) noexcept;

} // namespace veridane
