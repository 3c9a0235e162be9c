// The conversion for the baseline instruction set of the build (SSE2 on x86-64), which every
// machine that runs the plug-in has.
#include "processor/kernels/ChannelCopy.h"
#include "processor/kernels/ChunkKernel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace veridane::kernels
{
namespace
{
#if defined(__SSE2__)
struct Sse2
{
    using Vector = __m128;
    static constexpr int width = 4;

    static Vector load(const float* p) noexcept { return _mm_loadu_ps(p); }
    static void store(float* p, Vector v) noexcept { _mm_storeu_ps(p, v); }
    static Vector broadcast(float x) noexcept { return _mm_set1_ps(x); }
    static constexpr bool partialVectors = false; // no masked loads and stores
    static Vector add(Vector a, Vector b) noexcept { return _mm_add_ps(a, b); }
    static Vector sub(Vector a, Vector b) noexcept { return _mm_sub_ps(a, b); }
    static Vector mul(Vector a, Vector b) noexcept { return _mm_mul_ps(a, b); }

    static Vector magnitudeMax(Vector peak, Vector x) noexcept
    {
        // maxps answers its second operand when the first is NaN: a NaN sample never wins.
        return _mm_max_ps(_mm_andnot_ps(_mm_set1_ps(-0.0f), x), peak);
    }

    static float largest(Vector lanes) noexcept
    {
        const Vector pairs = _mm_max_ps(lanes, _mm_movehl_ps(lanes, lanes));
        return _mm_cvtss_f32(_mm_max_ss(pairs, _mm_shuffle_ps(pairs, pairs, 1)));
    }
};
using Baseline = Sse2;
#else
/** Without a known vector unit the "vector" is one sample. */
struct Scalar
{
    using Vector = float;
    static constexpr int width = 1;

    static Vector load(const float* p) noexcept { return *p; }
    static void store(float* p, Vector v) noexcept { *p = v; }
    static Vector broadcast(float x) noexcept { return x; }
    static constexpr bool partialVectors = false;
    static Vector add(Vector a, Vector b) noexcept { return a + b; }
    static Vector sub(Vector a, Vector b) noexcept { return a - b; }
    static Vector mul(Vector a, Vector b) noexcept { return a * b; }
    static Vector magnitudeMax(Vector peak, Vector x) noexcept
    {
        const float magnitude = __builtin_fabsf(x);
        return magnitude > peak ? magnitude : peak;
    }
    static float largest(Vector lanes) noexcept { return lanes; }
};
using Baseline = Scalar;
#endif
} // namespace

const KernelTable& baselineKernels() noexcept
{
    static constexpr KernelTable table{&ChunkKernel<Baseline>::convert,
                                       &ChannelCopy<Baseline>::copy};
    return table;
}

} // namespace veridane::kernels
