#pragma once

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The few vector loops of the audio path, fused so each channel is read and written once per
// stage. Peaks ignore NaN samples: a NaN never wins a comparison.
namespace veridane::vector
{
namespace detail
{
inline float absMaxScalar(float peak, float x) noexcept
{
    const float magnitude = std::abs(x);
    return magnitude > peak ? magnitude : peak;
}

#if defined(__SSE2__)
inline __m128 absMax(__m128 peak, __m128 x) noexcept
{
    const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), x);
    return _mm_max_ps(magnitude, peak); // answers `peak` when `magnitude` is NaN
}

inline float horizontalMax(__m128 lanes) noexcept
{
    alignas(16) float v[4];
    _mm_store_ps(v, lanes);
    return std::fmax(std::fmax(v[0], v[1]), std::fmax(v[2], v[3]));
}
#endif

/** dest[i] = gain(i) * source[i], answering the largest |dest[i]|. */
template <typename GainAt>
inline float scale(float* dest, const float* source, int numSamples, GainAt gainAt) noexcept
{
    int i = 0;
    float peak = 0.0f;
#if defined(__SSE2__)
    // Two accumulators, so the max is not one long dependency chain.
    __m128 lanes[2] = {_mm_setzero_ps(), _mm_setzero_ps()};
    for (; i + 8 <= numSamples; i += 8)
    {
        for (int k = 0; k < 2; ++k)
        {
            const __m128 y = _mm_mul_ps(gainAt.vector(i + 4 * k), _mm_loadu_ps(source + i + 4 * k));
            _mm_storeu_ps(dest + i + 4 * k, y);
            lanes[k] = absMax(lanes[k], y);
        }
    }
    peak = horizontalMax(_mm_max_ps(lanes[0], lanes[1]));
#endif
    for (; i < numSamples; ++i)
        peak = absMaxScalar(peak, dest[i] = gainAt.scalar(i) * source[i]);
    return peak;
}

struct ConstantGain
{
    float gain;
#if defined(__SSE2__)
    __m128 vector(int) const noexcept { return _mm_set1_ps(gain); }
#endif
    float scalar(int) const noexcept { return gain; }
};

struct GainCurve
{
    const float* gains;
#if defined(__SSE2__)
    __m128 vector(int i) const noexcept { return _mm_loadu_ps(gains + i); }
#endif
    float scalar(int i) const noexcept { return gains[i]; }
};
} // namespace detail

/** The largest magnitude among samples[0 .. numSamples - 1]; 0 for none. */
inline float peakMagnitude(const float* samples, int numSamples) noexcept
{
    int i = 0;
    float peak = 0.0f;
#if defined(__SSE2__)
    // Four accumulators, so the max is not one long dependency chain.
    __m128 lanes[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
    for (; i + 16 <= numSamples; i += 16)
        for (int k = 0; k < 4; ++k)
            lanes[k] = detail::absMax(lanes[k], _mm_loadu_ps(samples + i + 4 * k));
    peak = detail::horizontalMax(
        _mm_max_ps(_mm_max_ps(lanes[0], lanes[1]), _mm_max_ps(lanes[2], lanes[3])));
#endif
    for (; i < numSamples; ++i)
        peak = detail::absMaxScalar(peak, samples[i]);
    return peak;
}

/** dest[i] = gain * source[i] (dest may be source); answers the peak magnitude of dest. */
inline float scaleAndPeak(float* dest, const float* source, float gain, int numSamples) noexcept
{
    return detail::scale(dest, source, numSamples, detail::ConstantGain{gain});
}

/** dest[i] = gains[i] * source[i] (dest may be source); answers the peak magnitude of dest. */
inline float scaleAndPeak(float* dest, const float* source, const float* gains,
                          int numSamples) noexcept
{
    return detail::scale(dest, source, numSamples, detail::GainCurve{gains});
}

} // namespace veridane::vector
