#pragma once

#include "processor/GlideStage.h"

#include <array>
#include <cstdint>

namespace veridane::kernels
{

/** Most samples between two reads of a target while a stage glides or holds at a glide's fixed
    point. Reading it once per group of up to this many samples, not before every sample, is a
    deliberate reading of "afresh for every sample": a write from another thread is promised no
    earlier moment than "within the block", and a group is far shorter than any block a host
    sends in one go. */
constexpr int targetCheckInterval = 32;

/** Samples before `p` reaches the alignment of a whole vector of `width` floats. Host buffers
    are often aligned to less (a JUCE buffer's channels to 8 bytes), and a vector that straddles
    two cache lines costs about twice as much, most of all when stored; so the samples before the
    first boundary go as a part vector of their own. All four channels usually share their
    alignment; channel 0 decides. */
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

/** The four channels of a chunk converted where they are, held by value so their pointers stay
    in registers. */
struct InPlaceBlock
{
    float* channels[4];

    static InPlaceBlock of(const float* const*, float* const* outputs) noexcept
    {
        return {{outputs[0], outputs[1], outputs[2], outputs[3]}};
    }

    const float* input(int c) const noexcept { return channels[c]; }
    float* output(int c) const noexcept { return channels[c]; }
    bool outputsApart() const noexcept { return false; }
};

/** A chunk read from one set of buffers and written to another. Twice the pointers of a block in
    place, so it has a kernel of its own: sharing one would cost the in-place loops registers. */
struct OutOfPlaceBlock
{
    const float* inputs[4];
    float* outputs[4];
    /** No output is an input: then none shares memory with any input (see KernelTable). */
    bool apart;

    static OutOfPlaceBlock of(const float* const* in, float* const* out) noexcept
    {
        bool shared = false;
        for (int c = 0; c < 4; ++c)
            shared |= (out[c] == in[0]) | (out[c] == in[1]) | (out[c] == in[2]) | (out[c] == in[3]);
        return {{in[0], in[1], in[2], in[3]}, {out[0], out[1], out[2], out[3]}, !shared};
    }

    const float* input(int c) const noexcept { return inputs[c]; }
    float* output(int c) const noexcept { return outputs[c]; }
    bool outputsApart() const noexcept { return apart; }
};

/** One instruction set's vector routines. */
struct KernelTable
{
    /** Converts samples 0 to numSamples - 1 of four inputs into four outputs that share no
        memory with each other; each output is its own channel's input, another channel's input
        exactly, or apart from every input (see ChunkKernel). The stages have had their settled
        test. */
    ChunkPeaks (*convert)(const float* const* inputs, float* const* outputs, int numSamples,
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
