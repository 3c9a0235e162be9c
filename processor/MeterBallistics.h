#pragma once

#include <algorithm>
#include <cmath>

namespace veridane
{

/** A block's peak magnitude in dB for the meters: -100 for silence (or a NaN peak), otherwise
    20 log10(peak) in single precision, raised to -100. */
inline float meterDecibels(float peak) noexcept
{
    return peak > 0.0f ? std::max(-100.0f, std::log10(peak) * 20.0f) : -100.0f;
}

/** The new meter position after one block whose peak was `dB` (from meterDecibels). The scale
    runs from -60 dB (0) to +10 dB (1); each block moves the level a tenth of the way. The mix of
    single and double precision is deliberate: it fixes the exact values hosts and tests see. */
inline float meterLevelAfter(float level, float dB) noexcept
{
    const float x = std::min(dB, 10.0f);
    const double add = x < -60.0f ? 0.0 : (double((x - 10.0f) / 70.0f) + 1.0) * 0.1;
    return float(double(level) * 0.9 + add);
}

/** The new meter position after one block whose peak magnitude was `peak`. */
inline float updatedMeterLevel(float level, float peak) noexcept
{
    return meterLevelAfter(level, meterDecibels(peak));
}

} // namespace veridane
