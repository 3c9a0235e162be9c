// The conversion on 16-float AVX-512 vectors: the same multiplies and adds as the baseline, lane
// for lane, so the same bits. Only run where the CPU has AVX-512F; never FMA, which rounds once
// where the baseline rounds twice.
//
// What the kernel includes comes first, compiled as baseline code; only the kernel itself and the
// vector type below are compiled for AVX-512.
#include "processor/GlideStage.h"
#include "processor/kernels/KernelTypes.h"

#include <algorithm>
#include <cstdint>
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx512f,no-fma")

#include "processor/kernels/ChannelCopy.h"
#include "processor/kernels/ChunkKernel.h"

namespace veridane::kernels
{
namespace
{
struct Avx512
{
    using Vector = __m512;
    static constexpr int width = 16;

    static Vector load(const float* p) noexcept { return _mm512_loadu_ps(p); }
    static void store(float* p, Vector v) noexcept { _mm512_storeu_ps(p, v); }
    static Vector broadcast(float x) noexcept { return _mm512_set1_ps(x); }

    // Masked lanes are neither read nor written (and read as 0).
    static constexpr bool partialVectors = true;
    static Vector loadFirst(const float* p, int count) noexcept
    {
        return _mm512_maskz_loadu_ps(firstLanes(count), p);
    }
    static void storeFirst(float* p, Vector v, int count) noexcept
    {
        _mm512_mask_storeu_ps(p, firstLanes(count), v);
    }
    static __mmask16 firstLanes(int count) noexcept { return __mmask16((1u << count) - 1u); }

    static Vector add(Vector a, Vector b) noexcept { return _mm512_add_ps(a, b); }
    static Vector sub(Vector a, Vector b) noexcept { return _mm512_sub_ps(a, b); }
    static Vector mul(Vector a, Vector b) noexcept { return _mm512_mul_ps(a, b); }

    static Vector magnitudeMax(Vector peak, Vector x) noexcept
    {
        // AVX-512F has no float and-not: clear the sign bit as an integer. vmaxps answers its
        // second operand when the first is NaN: a NaN sample never wins.
        const __m512i magnitude =
            _mm512_and_si512(_mm512_castps_si512(x), _mm512_set1_epi32(0x7fffffff));
        return _mm512_max_ps(_mm512_castsi512_ps(magnitude), peak);
    }

    static float largest(Vector lanes) noexcept { return _mm512_reduce_max_ps(lanes); }
};
} // namespace

const KernelTable& avx512Kernels() noexcept
{
    static constexpr KernelTable table{&ChunkKernel<Avx512>::convert, &ChannelCopy<Avx512>::copy};
    return table;
}

} // namespace veridane::kernels

#pragma GCC pop_options
