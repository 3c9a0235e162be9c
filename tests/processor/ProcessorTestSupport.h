#pragma once

#include "processor/LoomcraftAudioProcessor.h"

#include <cstring>
#include <vector>

namespace veridane::test
{

/** A four-channel block whose channel c holds base[c] + i * step[c] at sample i. */
inline juce::AudioBuffer<float> rampBlock(int numSamples, int numChannels = 4)
{
    juce::AudioBuffer<float> buffer(numChannels, numSamples);
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample(c, i, float(c + 1) * 0.1f + float(i) * 0.0001f);
    return buffer;
}

inline juce::AudioBuffer<float> constantBlock(int numSamples, float value, int numChannels = 4)
{
    juce::AudioBuffer<float> buffer(numChannels, numSamples);
    for (int c = 0; c < numChannels; ++c)
        juce::FloatVectorOperations::fill(buffer.getWritePointer(c), value, numSamples);
    return buffer;
}

inline void process(LoomcraftAudioProcessor& processor, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    processor.processBlock(buffer, midi);
}

/** Bit pattern of a float, for comparisons that must not round. */
inline std::uint32_t bits(float value)
{
    std::uint32_t b;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

} // namespace veridane::test
