#pragma once

#include <algorithm>
#include <cmath>

namespace veridane
{

/** The new meter position after one block whose peak magnitude was `peak`. The scale runs from
    -60 dB (0) to +10 dB (1); each block moves the level a tenth of the way. The mix of single and
    double precision is deliberate: it fixes the exact values hosts and tests see. */
inline float updatedMeterLevel(float level, float peak) noexcept
{
    float dB = -100.0f;
    if (peak > 0.0f)
        dB = std::max(-100.0f, std::log10(peak) * 20.0f);

    const float x = std::min(dB, 10.0f);
    const double add = x < -60.0f ? 0.0 : (double((x - 10.0f) / 70.0f) + 1.0) * 0.1;
    return float(double(level) * 0.9 + add);
}

} // namespace veridane
