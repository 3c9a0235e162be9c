// What the wrapper benchmarks share: the host's buffers of one 512-frame block, and the
// baseline they are measured against, processBlock called directly.
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <benchmark/benchmark.h>

namespace benchmarking
{
constexpr int blockSize = 512;
constexpr int numChannels = 4;

/** The host's buffers: fixed inputs, and outputs of their own. */
struct HostBuffers
{
    juce::AudioBuffer<float> input{numChannels, blockSize};
    juce::AudioBuffer<float> output{numChannels, blockSize};
    float* inputs[numChannels];
    float* outputs[numChannels];

    HostBuffers()
    {
        juce::Random random(42);
        for (int c = 0; c < numChannels; ++c)
        {
            for (int i = 0; i < blockSize; ++i)
                input.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
            inputs[c] = input.getWritePointer(c);
            outputs[c] = output.getWritePointer(c);
        }
    }

    /** Fresh input in the output buffers, for in-place processing that does not compound. */
    void refreshOutputs()
    {
        for (int c = 0; c < numChannels; ++c)
            output.copyFrom(c, 0, input, c, 0, blockSize);
    }
};

/** The baseline: copy the inputs to the outputs, then processBlock on them. */
inline void directProcessBlock(benchmark::State& state, juce::AudioProcessor& processor,
                               HostBuffers& host)
{
    juce::AudioBuffer<float> block(host.outputs, numChannels, blockSize);
    juce::MidiBuffer midi;
    for (auto _ : state)
    {
        host.refreshOutputs();
        processor.processBlock(block, midi);
        benchmark::ClobberMemory();
    }
}
} // namespace benchmarking
