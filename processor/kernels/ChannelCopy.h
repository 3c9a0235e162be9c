#pragma once

#include "processor/kernels/KernelTypes.h"

// Copies four channels in one pass. Included like ChunkKernel.h, by one source file per
// instruction set after its target switch.

namespace veridane::kernels
{

template <class Simd> struct ChannelCopy
{
    /** All four sources of a position are read before any destination of it is written, so a
        destination may be exactly another channel's source (crossed host buffers). */
    static void copy(float* const* destinations, const float* const* sources,
                     int numFrames) noexcept
    {
        const float *s0 = sources[0], *s1 = sources[1], *s2 = sources[2], *s3 = sources[3];
        float *d0 = destinations[0], *d1 = destinations[1], *d2 = destinations[2],
              *d3 = destinations[3];
        int i = 0;
        const int head = samplesToAlignment<Simd::width>(d0);
        for (; i < numFrames && i < head; ++i)
            copyFrame(s0, s1, s2, s3, d0, d1, d2, d3, i);
        for (; i + Simd::width <= numFrames; i += Simd::width)
        {
            const auto x0 = Simd::load(s0 + i), x1 = Simd::load(s1 + i);
            const auto x2 = Simd::load(s2 + i), x3 = Simd::load(s3 + i);
            Simd::store(d0 + i, x0);
            Simd::store(d1 + i, x1);
            Simd::store(d2 + i, x2);
            Simd::store(d3 + i, x3);
        }
        for (; i < numFrames; ++i)
            copyFrame(s0, s1, s2, s3, d0, d1, d2, d3, i);
    }

private:
    static void copyFrame(const float* s0, const float* s1, const float* s2, const float* s3,
                          float* d0, float* d1, float* d2, float* d3, int i) noexcept
    {
        const float x0 = s0[i], x1 = s1[i], x2 = s2[i], x3 = s3[i];
        d0[i] = x0;
        d1[i] = x1;
        d2[i] = x2;
        d3[i] = x3;
    }
};

} // namespace veridane::kernels
