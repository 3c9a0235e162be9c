#pragma once

namespace veridane
{

/** A processor that converts a block from a host's input buffers straight into its output
    buffers. It gives exactly what copying each input to its output and then calling processBlock
    on the outputs gives (every sample, meter and glide value) without the copy's extra pass.
    Wrappers look for it once per processor; any other processor gets the copy. */
class OutOfPlaceProcessing
{
public:
    /** Audio thread, under the processor's callback lock. `inputs` and `outputs` each hold four
        channels of numFrames frames, none null. No two outputs share memory, and each output is
        its own channel's input, exactly another channel's input, or shares no memory with any
        input. */
    virtual void processOutOfPlace(const float* const* inputs, float* const* outputs,
                                   int numFrames) noexcept = 0;

protected:
    ~OutOfPlaceProcessing() = default;
};

} // namespace veridane
