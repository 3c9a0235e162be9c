#pragma once

#include "processor/GlideStage.h"

#include <array>
#include <cstdint>

namespace veridane::kernels
{

/** Samples between two looks at the targets while a stage glides or holds at a glide's fixed
    point. A new target is promised no earlier moment than "within the block", so a group of this
    many samples runs on the targets it started with. */
constexpr int targetCheckInterval = 32;

/** Samples before `p` reaches the alignment of a whole vector of `width` floats. Host buffers
    are often aligned to less (a JUCE buffer's channels to 8 bytes), and a vector that straddles
    two cache lines costs about twice as much, most of all when stored; so the first few samples
    go one at a time. All four channels usually share their alignment; channel 0 decides. */
template <int width> int samplesToAlignment(const float* p) noexcept
{
    const auto misalignment = int((reinterpret_cast<std::uintptr_t>(p) / sizeof(float)) % width);
    return misalignment == 0 ? 0 : width - misalignment;
}

/** Peak magnitudes of one chunk (NaN samples never count; 0 for a channel the block lacks). */
struct ChunkPeaks
{
    std::array<float, 4> inputs{};  ///< before conversion
    std::array<float, 4> outputs{}; ///< after the gain
};

/** One instruction set's vector routines. */
struct KernelTable
{
    /** Converts samples 0 to numSamples - 1 of four separate channels in place; the stages have
        had their settled test. */
    ChunkPeaks (*convert)(float* const* channels, int numSamples,
                          ConversionStages& stages) noexcept;
    /** Copies frames 0 to numFrames - 1 of four channels; a destination may be exactly another
        channel's source (see ChannelCopy). */
    void (*copyChannels)(float* const* destinations, const float* const* sources,
                         int numFrames) noexcept;
};

const KernelTable& baselineKernels() noexcept;
#if defined(VERIDANE_WIDE_KERNELS)
const KernelTable& avx2Kernels() noexcept;
const KernelTable& avx512Kernels() noexcept;
#endif

} // namespace veridane::kernels
