// The conversion on 8-float AVX2 vectors: the same multiplies and adds as the baseline, lane for
// lane, so the same bits. Only run where the CPU has AVX2; never FMA, which rounds once where the
// baseline rounds twice.
//
// What the kernel includes comes first, compiled as baseline code; only the kernel itself and the
// vector type below are compiled for AVX2.
#include "processor/GlideStage.h"
#include "processor/kernels/KernelTypes.h"

#include <algorithm>
#include <cstdint>
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx2,no-fma")

#include "processor/kernels/ChannelCopy.h"
#include "processor/kernels/ChunkKernel.h"

namespace veridane::kernels
{
namespace
{
struct Avx2
{
    using Vector = __m256;
    static constexpr int width = 8;

    static Vector load(const float* p) noexcept { return _mm256_loadu_ps(p); }
    static void store(float* p, Vector v) noexcept { _mm256_storeu_ps(p, v); }
    static Vector broadcast(float x) noexcept { return _mm256_set1_ps(x); }

    // Masked lanes are neither read nor written (and read as 0).
    static constexpr bool partialVectors = true;
    static Vector loadFirst(const float* p, int count) noexcept
    {
        return _mm256_maskload_ps(p, firstLanes(count));
    }
    static void storeFirst(float* p, Vector v, int count) noexcept
    {
        _mm256_maskstore_ps(p, firstLanes(count), v);
    }
    static __m256i firstLanes(int count) noexcept
    {
        return _mm256_cmpgt_epi32(_mm256_set1_epi32(count),
                                  _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    }

    static Vector add(Vector a, Vector b) noexcept { return _mm256_add_ps(a, b); }
    static Vector sub(Vector a, Vector b) noexcept { return _mm256_sub_ps(a, b); }
    static Vector mul(Vector a, Vector b) noexcept { return _mm256_mul_ps(a, b); }

    static Vector magnitudeMax(Vector peak, Vector x) noexcept
    {
        // vmaxps answers its second operand when the first is NaN: a NaN sample never wins.
        return _mm256_max_ps(_mm256_andnot_ps(_mm256_set1_ps(-0.0f), x), peak);
    }

    static float largest(Vector lanes) noexcept
    {
        const __m128 half =
            _mm_max_ps(_mm256_castps256_ps128(lanes), _mm256_extractf128_ps(lanes, 1));
        const __m128 pairs = _mm_max_ps(half, _mm_movehl_ps(half, half));
        return _mm_cvtss_f32(_mm_max_ss(pairs, _mm_shuffle_ps(pairs, pairs, 1)));
    }
};
} // namespace

const KernelTable& avx2Kernels() noexcept
{
    static constexpr KernelTable table{&ChunkKernel<Avx2>::convert, &ChannelCopy<Avx2>::copy};
    return table;
}

} // namespace veridane::kernels

#pragma GCC pop_options
