#pragma once

#include "processor/kernels/KernelTypes.h"

#include <algorithm>

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
        auto edge = [&](int count)
        {
            if constexpr (Simd::partialVectors)
                copyStep(Part{count}, s0, s1, s2, s3, d0, d1, d2, d3, i);
            else
                for (int k = 0; k < count; ++k)
                    copyStep(Single{}, s0, s1, s2, s3, d0, d1, d2, d3, i + k);
            i += count;
        };
        if (const int head = std::min(samplesToAlignment<Simd::width>(d0), numFrames); head > 0)
            edge(head);
        for (; i + Simd::width <= numFrames; i += Simd::width)
            copyStep(Whole{}, s0, s1, s2, s3, d0, d1, d2, d3, i);
        if (i < numFrames)
            edge(numFrames - i);
    }

private:
    struct Whole
    {
        static auto load(const float* p) noexcept { return Simd::load(p); }
        template <class Value> static void store(float* p, Value v) noexcept { Simd::store(p, v); }
    };

    struct Part
    {
        int count;
        auto load(const float* p) const noexcept { return Simd::loadFirst(p, count); }
        template <class Value> void store(float* p, Value v) const noexcept
        {
            Simd::storeFirst(p, v, count);
        }
    };

    struct Single
    {
        static float load(const float* p) noexcept { return *p; }
        static void store(float* p, float v) noexcept { *p = v; }
    };

    template <class Ops>
    static void copyStep(const Ops& ops, const float* s0, const float* s1, const float* s2,
                         const float* s3, float* d0, float* d1, float* d2, float* d3,
                         int i) noexcept
    {
        const auto x0 = ops.load(s0 + i), x1 = ops.load(s1 + i);
        const auto x2 = ops.load(s2 + i), x3 = ops.load(s3 + i);
        ops.store(d0 + i, x0);
        ops.store(d1 + i, x1);
        ops.store(d2 + i, x2);
        ops.store(d3 + i, x3);
    }
};

} // namespace veridane::kernels
