#pragma once

#include "processor/OutOfPlaceProcessing.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <cstdint>
#include <memory>

namespace veridane::wrappers
{

/** Runs the host's process call on the processor: copies the inputs to the outputs and converts
    them there with processBlock (or processBlockBypassed), under the processor's callback lock.

    A processor with OutOfPlaceProcessing gives that result in one pass from the inputs into the
    outputs, whether they are the same buffers, separate ones or crossed (an output that is
    exactly another channel's input); bypass keeps the copy. For any other processor, separate
    buffers are copied first, and crossed ones get their inputs in one pass that reads every input
    of a frame before it writes any output. Outputs that overlap an input or each other in any
    other way, and missing pointers, go through a scratch buffer allocated here once, in pieces no
    longer than the scratch. Audio thread; allocates nothing. A runner serves one processor at a
    time; it looks for OutOfPlaceProcessing when it first meets that processor. */
class BlockRunner
{
public:
    static constexpr int numChannels = 4;
    /** Frames per pass through the scratch. The processor splits long blocks at the same
        points, so a long block gives the same result on every path. */
    static constexpr int scratchFrames = 8192;

    BlockRunner();

    /** A negative frame count or a missing output array does nothing. A missing input (the array
        or one channel) reads as silence; a missing output channel is not written. */
    void process(juce::AudioProcessor& processor, float* const* inputs, float* const* outputs,
                 std::int32_t numFrames, bool bypassed);

private:
    enum class Route
    {
        inPlace,  // every output is its own channel's input
        separate, // no output touches any input or other output
        crossed,  // each output is separate from the inputs, or exactly one of them
        staged    // overlapping or missing buffers
    };

    OutOfPlaceProcessing* outOfPlaceProcessing(juce::AudioProcessor& processor) noexcept;
    Route routeFor(float* const* inputs, float* const* outputs, std::int32_t numFrames) noexcept;
    Route chooseRoute(float* const* inputs, float* const* outputs, std::int32_t numFrames) const;
    void runDirect(juce::AudioProcessor& processor, float* const* inputs, float* const* outputs,
                   std::int32_t numFrames, Route route, bool bypassed);
    void runStaged(juce::AudioProcessor& processor, float* const* inputs, float* const* outputs,
                   std::int32_t numFrames, bool bypassed);
    void runProcessor(juce::AudioProcessor& processor, float* const* channels, int numFrames,
                      bool bypassed);

    std::array<std::unique_ptr<float[]>, numChannels> scratch;
    std::array<float*, numChannels> channelPointers{};
    juce::AudioBuffer<float> buffer;
    juce::MidiBuffer midi;
    const juce::AudioProcessor* lookedUp = nullptr;
    OutOfPlaceProcessing* outOfPlace = nullptr;

    /** The last route chosen and what it was chosen for: hosts hand over the same buffers block
        after block, and comparing them costs less than the overlap checks. */
    struct RememberedRoute
    {
        std::array<float*, numChannels> inputs{};
        std::array<float*, numChannels> outputs{};
        std::int32_t numFrames = -1;
        Route route = Route::staged;
    } remembered;
};

} // namespace veridane::wrappers
