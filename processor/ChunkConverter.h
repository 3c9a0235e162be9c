#pragma once

#include "processor/GlideStage.h"

#include <array>

namespace veridane
{

/** The three glides of the conversion, in the order the conversion applies them. */
struct ConversionStages
{
    GlideStage weightW;
    GlideStage order;
    GlideStage gain;
};

/** Peak magnitudes of one chunk (NaN samples never count; 0 for a channel the block lacks). */
struct ChunkPeaks
{
    std::array<float, 4> inputs{};  ///< before conversion
    std::array<float, 4> outputs{}; ///< after the gain
};

/** Converts the first `numSamples` samples of a block's first four channels in place: W weighted,
    the channel order applied (or crossfaded), then the gain on all four; starts the stages' chunk
    (the settled test) first. `channels` holds `numChannels` pointers already offset to the chunk;
    channels the block lacks read as silence and are never written. Channels from `numConverted`
    on are not converted, only scaled by the gain. Audio thread; allocates nothing. */
ChunkPeaks convertChunk(float* const* channels, int numChannels, int numConverted, int numSamples,
                        ConversionStages& stages) noexcept;

} // namespace veridane
