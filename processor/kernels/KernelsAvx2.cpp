// The kernels on 8-float AVX2 vectors. Compiled with -mavx2 -mno-fma: the same multiplies and
// adds as the baseline, lane for lane, so the same bits; only run where the CPU has AVX2.
#include "processor/kernels/ConversionKernels.h"

#include <immintrin.h>

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
    static constexpr KernelTable table{&ConversionKernels<Avx2>::constant,
                                       &ConversionKernels<Avx2>::curves};
    return table;
}

} // namespace veridane::kernels
