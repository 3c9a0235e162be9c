#pragma once

#include "processor/GlideStage.h"
#include "processor/kernels/KernelTypes.h"

namespace veridane
{

using kernels::ChunkPeaks;

/** Converts the first `numSamples` samples of a block's first four channels from `inputs` into
    `outputs`: W weighted, the channel order applied (or crossfaded), then the gain on all four;
    starts the stages' chunk (the settled test) first. Both hold `numChannels` pointers already
    offset to the chunk; channels the block lacks read as silence and are never written. In place,
    the outputs are the inputs; otherwise each output is its own channel's input, exactly another
    channel's input, or shares no memory with any input (all inputs of a sample are read before
    any output of it is written). Channels from `numConverted` on are not converted, only scaled
    by the gain. A chunk whose finite input the conversion carries to inf comes out silent, its
    output peaks 0. Audio thread; allocates nothing. */
ChunkPeaks convertChunk(const float* const* inputs, float* const* outputs, int numChannels,
                        int numConverted, int numSamples, ConversionStages& stages) noexcept;

} // namespace veridane
