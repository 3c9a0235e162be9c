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
    const __m128 pairs = _mm_max_ps(lanes, _mm_movehl_ps(lanes, lanes));
    return _mm_cvtss_f32(_mm_max_ss(pairs, _mm_shuffle_ps(pairs, pairs, 1)));
}
#endif

/** dest[i] = gain(i) * source[i], answering the largest |dest[i]|. */
template <typename GainAt>
inline float scale(float* dest, const float* source, int numSamples, GainAt gainAt) noexcept
{
    int i = 0;
    float peak = 0.0f;
#if defined(__SSE2__)
    // Two accumulators in registers, so the max is not one long dependency chain.
    __m128 even = _mm_setzero_ps(), odd = _mm_setzero_ps();
    for (; i + 8 <= numSamples; i += 8)
    {
        const __m128 y0 = _mm_mul_ps(gainAt.vector(i), _mm_loadu_ps(source + i));
        const __m128 y1 = _mm_mul_ps(gainAt.vector(i + 4), _mm_loadu_ps(source + i + 4));
        _mm_storeu_ps(dest + i, y0);
        _mm_storeu_ps(dest + i + 4, y1);
        even = absMax(even, y0);
        odd = absMax(odd, y1);
    }
    peak = horizontalMax(_mm_max_ps(even, odd));
#endif
    for (; i < numSamples; ++i)
        peak = absMaxScalar(peak, dest[i] = gainAt.scalar(i) * source[i]);
    return peak;
}

struct ConstantGain
{
    float gain;
#if defined(__SSE2__)
    __m128 vector(int) const noexcept
    {
        return _mm_set1_ps(gain);
    }
#endif
    float scalar(int) const noexcept
    {
        return gain;
    }
};

struct GainCurve
{
    const float* gains;
#if defined(__SSE2__)
    __m128 vector(int i) const noexcept
    {
        return _mm_loadu_ps(gains + i);
    }
#endif
    float scalar(int i) const noexcept
    {
        return gains[i];
    }
};
} // namespace detail

/** The largest magnitude among samples[0 .. numSamples - 1]; 0 for none. */
inline float peakMagnitude(const float* samples, int numSamples) noexcept
{
    int i = 0;
    float peak = 0.0f;
#if defined(__SSE2__)
    // Four accumulators in registers, so the max is not one long dependency chain.
    __m128 a = _mm_setzero_ps(), b = _mm_setzero_ps(), c = _mm_setzero_ps(), d = _mm_setzero_ps();
    for (; i + 16 <= numSamples; i += 16)
    {
        a = detail::absMax(a, _mm_loadu_ps(samples + i));
        b = detail::absMax(b, _mm_loadu_ps(samples + i + 4));
        c = detail::absMax(c, _mm_loadu_ps(samples + i + 8));
        d = detail::absMax(d, _mm_loadu_ps(samples + i + 12));
    }
    peak = detail::horizontalMax(_mm_max_ps(_mm_max_ps(a, b), _mm_max_ps(c, d)));
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

/** dest[i] = (1 - u[i]) * from[i] + u[i] * to[i], each step rounded to single precision. */
inline void crossfade(float* dest, const float* from, const float* to, const float* u,
                      int numSamples) noexcept
{
    int i = 0;
#if defined(__SSE2__)
    const __m128 one = _mm_set1_ps(1.0f);
    for (; i + 4 <= numSamples; i += 4)
    {
        const __m128 position = _mm_loadu_ps(u + i);
        const __m128 rest = _mm_sub_ps(one, position);
        _mm_storeu_ps(dest + i, _mm_add_ps(_mm_mul_ps(rest, _mm_loadu_ps(from + i)),
                                           _mm_mul_ps(position, _mm_loadu_ps(to + i))));
    }
#endif
    for (; i < numSamples; ++i)
    {
        const float rest = 1.0f - u[i];
        dest[i] = rest * from[i] + u[i] * to[i];
    }
}

} // namespace veridane::vector
