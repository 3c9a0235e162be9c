// A recording host and an instance handle for driving the VST 2 wrapper through its effect
// record, and a processor-level reference render to compare its audio with.
#pragma once

#include "processor/LoomcraftAudioProcessor.h"
#include "processor/StateBlock.h"
#include "wrappers/vst2/VeridaneVstWrapper.h"
#include "wrappers/vst2/VstEntry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

namespace wrappertest
{
struct HostCall
{
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    float opt;
};

/** Records every callback, from any thread, and answers 0. */
struct RecordingHost
{
    inline static std::mutex lock;
    inline static std::vector<HostCall> calls;

    static intptr_t callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t, void*,
                             float opt)
    {
        const std::lock_guard<std::mutex> hold(lock);
        calls.push_back({effect, opcode, index, opt});
        return 0;
    }

    static void reset()
    {
        const std::lock_guard<std::mutex> hold(lock);
        calls.clear();
    }

    static std::vector<HostCall> callsWith(int32_t opcode)
    {
        const std::lock_guard<std::mutex> hold(lock);
        std::vector<HostCall> matching;
        for (const auto& call : calls)
            if (call.opcode == opcode)
                matching.push_back(call);
        return matching;
    }
};

/** One instance, made by the entry (or around a given processor), closed through its record. */
struct Instance
{
    AEffect* effect;

    Instance() : effect(veridane::vst2::createEffect(RecordingHost::callback)) {}
    explicit Instance(std::unique_ptr<juce::AudioProcessor> processor)
        : effect((new veridane::vst2::VeridaneVstWrapper(RecordingHost::callback,
                                                         std::move(processor)))
                     ->getAeffect())
    {
    }
    ~Instance() { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    void process(float** inputs, float** outputs, int32_t frames)
    {
        effect->processReplacing(effect, inputs, outputs, frames);
    }

    /** Rate, block size and mains on, as a host starts playback. */
    void start(float sampleRate = 48000.0f, intptr_t blockSize = 512)
    {
        dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
        dispatch(effSetBlockSize, 0, blockSize);
        dispatch(effMainsChanged, 0, 1);
    }

    intptr_t setChunk(const juce::MemoryBlock& block)
    {
        return dispatch(effSetChunk, 0, intptr_t(block.getSize()),
                        const_cast<void*>(block.getData()));
    }

    std::vector<char> chunk()
    {
        void* data = nullptr;
        const auto size = dispatch(effGetChunk, 0, 0, &data);
        return std::vector<char>(static_cast<char*>(data), static_cast<char*>(data) + size);
    }

    LoomcraftAudioProcessor& processor()
    {
        auto* wrapper = static_cast<veridane::vst2::VeridaneVstWrapper*>(
            static_cast<AudioEffect*>(effect->object));
        return dynamic_cast<LoomcraftAudioProcessor&>(wrapper->getProcessor());
    }
};

inline std::vector<char> bytesOf(const juce::MemoryBlock& block)
{
    const auto* data = static_cast<const char*>(block.getData());
    return std::vector<char>(data, data + block.getSize());
}

constexpr int numChannels = 4;

/** Four channels of samples. */
using Signal = std::vector<std::vector<float>>;

/** A different tone and offset per channel, so any mix-up of channels or samples shows. */
inline Signal testSignal(int numFrames)
{
    Signal signal(numChannels, std::vector<float>(size_t(numFrames)));
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < numFrames; ++i)
            signal[size_t(c)][size_t(i)] =
                0.5f * std::sin(0.001f * float((c + 1) * i)) + 0.05f * float(c + 1);
    return signal;
}

/** The block lengths a host sends for a run of numFrames frames. */
inline std::vector<int> partition(int numFrames, int blockSize)
{
    std::vector<int> blocks;
    for (int done = 0; done < numFrames; done += blockSize)
        blocks.push_back(std::min(blockSize, numFrames - done));
    return blocks;
}

/** A state whose gain and direction both still glide when a run starts from it. */
inline juce::MemoryBlock glidingState()
{
    return veridane::writeStateBlock(0.5f, 1);
}

/** processBlock called directly on a fresh processor, once per block of the partition. */
inline Signal referenceRender(Signal signal, const std::vector<int>& blocks,
                              const juce::MemoryBlock& state)
{
    LoomcraftAudioProcessor processor;
    processor.setStateInformation(state.getData(), int(state.getSize()));
    juce::MidiBuffer midi;
    int offset = 0;
    for (const int frames : blocks)
    {
        float* channels[numChannels];
        for (int c = 0; c < numChannels; ++c)
            channels[c] = signal[size_t(c)].data() + offset;
        juce::AudioBuffer<float> buffer(channels, numChannels, frames);
        processor.processBlock(buffer, midi);
        offset += frames;
    }
    return signal;
}

/** Bit-exact comparison, naming the first sample that differs. */
inline ::testing::AssertionResult sameSamples(const Signal& expected, const Signal& actual)
{
    for (size_t c = 0; c < expected.size(); ++c)
        for (size_t i = 0; i < expected[c].size(); ++i)
            if (std::memcmp(&expected[c][i], &actual[c][i], sizeof(float)) != 0)
                return ::testing::AssertionFailure() << "channel " << c << " sample " << i << ": "
                                                     << expected[c][i] << " != " << actual[c][i];
    return ::testing::AssertionSuccess();
}

} // namespace wrappertest
