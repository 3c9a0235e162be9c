#pragma once

#include "hosts/aax/delegates/AAX_CLinearTaperDelegate.h"
#include "hosts/aax/parameters/AAX_CParameter.h"

#include <atomic>

namespace veridane::aax
{

/** The host's side of one processor parameter (normalized 0 to 1), which also remembers the value
    it was last given: stored by the host's update, or asked of the host and perhaps not answered
    yet. A restore can then tell whether a rounded saved text stands for that value. */
class ProcessorParameter final : public AAX_CParameter<float>
{
public:
    using AAX_CParameter<float>::AAX_CParameter;

    /** The taper every processor parameter is built with. */
    static inline const AAX_CLinearTaperDelegate<float, 0> taper{0.0f, 1.0f};

    /** Any thread. */
    float lastGiven() const noexcept { return given.load(std::memory_order_relaxed); }

    // Each remembers the value the host stores in the end, before the request that may bring the
    // host's answer back at once.
    bool SetValueWithFloat(float value) override
    {
        remember(taper.RealToNormalized(value));
        return AAX_CParameter<float>::SetValueWithFloat(value);
    }
    void SetNormalizedValue(double normalizedValue) override
    {
        remember(normalizedValue);
        AAX_CParameter<float>::SetNormalizedValue(normalizedValue);
    }
    void UpdateNormalizedValue(double normalizedValue) override
    {
        remember(normalizedValue);
        AAX_CParameter<float>::UpdateNormalizedValue(normalizedValue);
    }

private:
    void remember(double normalizedValue) noexcept
    {
        given.store(taper.NormalizedToReal(normalizedValue), std::memory_order_relaxed);
    }

    std::atomic<float> given{0.0f};
};

} // namespace veridane::aax
