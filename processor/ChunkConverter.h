#pragma once

#include "processor/GlideStage.h"
#include "processor/kernels/KernelTypes.h"

namespace veridane
{

using kernels::ChunkPeaks;

/** Converts the first `numSamples` samples of a block's first four channels in place: W weighted,
    the channel order applied (or crossfaded), then the gain on all four; starts the stages' chunk
    (the settled test) first. `channels` holds `numChannels` pointers already offset to the chunk;
    channels the block lacks read as silence and are never written. Channels from `numConverted`
    on are not converted, only scaled by the gain. Audio thread; allocates nothing. */
ChunkPeaks convertChunk(float* const* channels, int numChannels, int numConverted, int numSamples,
                        ConversionStages& stages) noexcept;

} // namespace veridane
