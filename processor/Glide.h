#pragma once

#include <cmath>

namespace veridane
{

/** The target's share of a glide step, the same for every step toward one target. */
inline double glideTargetShare(float target) noexcept
{
    return double(target) * 0.005;
}

/** One per-sample step of a one-pole glide. Computed in double from the stored floats and rounded
    back, so every stage that glides produces the same sequence on every machine. */
inline float glideStep(float current, double targetShare) noexcept
{
    return float(double(current) * 0.995 + targetShare);
}

inline float glideStep(float current, float target) noexcept
{
    return glideStep(current, glideTargetShare(target));
}

/** A stage is settled when it is within 1e-6 of its target; a NaN difference counts as settled so
    that a corrupted value is replaced by the target at the next block start. */
inline bool isSettled(float current, float target) noexcept
{
    const float difference = std::abs(current - target);
    return double(difference) <= 0.000001 || std::isnan(difference);
}

} // namespace veridane
