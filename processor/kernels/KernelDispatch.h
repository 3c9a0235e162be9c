#pragma once

#include "processor/kernels/KernelTypes.h"

namespace veridane::kernels
{

/** The vector widths the conversion kernels come in. All give the same bits. */
enum class VectorWidth
{
    baseline, // the build's own instruction set (SSE2 on x86-64)
    avx2,
    avx512
};

/** The widest width this CPU runs, found once. */
VectorWidth widestSupportedWidth() noexcept;

/** The kernels every processor uses: the widest supported, unless a test chose otherwise. Any
    thread; cheap enough for once per chunk. */
const KernelTable& activeKernels() noexcept;

/** For tests only: runs every processor on `width` from now on, or on the widest supported width
    if this CPU lacks it. Answers the width now in use. Not for the audio thread. */
VectorWidth useVectorWidthForTesting(VectorWidth width) noexcept;

} // namespace veridane::kernels
