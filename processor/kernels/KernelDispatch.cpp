#include "processor/kernels/KernelDispatch.h"

#include <atomic>

namespace veridane::kernels
{
namespace
{
bool cpuRuns(VectorWidth width) noexcept
{
#if defined(VERIDANE_WIDE_KERNELS)
    // __builtin_cpu_supports also checks that the OS saves the wide registers.
    switch (width)
    {
    case VectorWidth::baseline:
        return true;
    case VectorWidth::avx2:
        return __builtin_cpu_supports("avx2");
    case VectorWidth::avx512:
        return __builtin_cpu_supports("avx512f");
    }
    return false;
#else
    return width == VectorWidth::baseline;
#endif
}

const KernelTable& kernelsFor(VectorWidth width) noexcept
{
#if defined(VERIDANE_WIDE_KERNELS)
    if (width == VectorWidth::avx512)
        return avx512Kernels();
    if (width == VectorWidth::avx2)
        return avx2Kernels();
#endif
    (void)width;
    return baselineKernels();
}

/** Chosen on first use; a thread that races another to it picks the same table. Constant
    initialised, so the audio thread never waits on a static's guard. */
std::atomic<const KernelTable*> chosen{nullptr};
} // namespace

VectorWidth widestSupportedWidth() noexcept
{
    for (auto width : {VectorWidth::avx512, VectorWidth::avx2})
        if (cpuRuns(width))
            return width;
    return VectorWidth::baseline;
}

const KernelTable& activeKernels() noexcept
{
    const KernelTable* kernels = chosen.load(std::memory_order_relaxed);
    if (kernels == nullptr)
    {
        kernels = &kernelsFor(widestSupportedWidth());
        chosen.store(kernels, std::memory_order_relaxed);
    }
    return *kernels;
}

VectorWidth useVectorWidthForTesting(VectorWidth width) noexcept
{
    const VectorWidth used = cpuRuns(width) ? width : widestSupportedWidth();
    chosen.store(&kernelsFor(used), std::memory_order_relaxed);
    return used;
}

} // namespace veridane::kernels
