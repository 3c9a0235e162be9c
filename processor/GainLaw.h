#pragma once

#include <cmath>

namespace veridane
{

/** The "Gain" parameter's normalised value at 0 dB. */
constexpr float defaultGainValue = 0.9f;

/** Level in dB of a normalised "Gain" value: 100 dB of range ending at +10 dB. */
inline float decibelsForGainValue(float value) noexcept
{
    return value * 100.0f + -90.0f;
}

/** Linear gain of a normalised "Gain" value. Values are not clamped (1.5 is +60 dB), but anything
    at or below -100 dB, not a number, or too large for a float mutes: a gain that cannot be
    represented would otherwise turn every sample into inf or NaN. A gain that can may still carry
    a loud sample to inf; the conversion silences such a chunk (convertChunk). */
inline float linearGainForGainValue(float value) noexcept
{
    const float dB = decibelsForGainValue(value);
    if (!(dB > -100.0f))
        return 0.0f;

    const float gain = std::pow(10.0f, dB * 0.05f);
    return std::isfinite(gain) ? gain : 0.0f;
}

} // namespace veridane
