#pragma once

#include "processor/OutOfPlaceProcessing.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

/** The plug-in's audio object: converts first-order B-format between FuMa and ambiX, applies the
    output gain and keeps eight peak meters.

    Threads: processBlock runs on the audio thread under the callback lock; setParameter, the state
    calls and setConversionMode come from any thread without a lock; the editor polls the public
    atomics on the message thread. Values shared between threads are relaxed atomics, except
    stateChanged, which is set with release after the values it announces and read with acquire. */
class LoomcraftAudioProcessor : public juce::AudioProcessor, public veridane::OutOfPlaceProcessing
{
public:
    /** Most samples one conversion pass handles; longer blocks run as consecutive chunks. */
    static constexpr int maxChunkSize = 8192;
    static constexpr int numMeters = 8;

    LoomcraftAudioProcessor();
    ~LoomcraftAudioProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay(double sampleRate, int estimatedSamplesPerBlock) override;
    void releaseResources() override;
    bool isBusesLayoutSupported(const BusesLayout& layout) const override;

    /** Audio thread, under the callback lock. Converts in place; allocates and locks nothing.
        Final: wrappers take processOutOfPlace for it, which must give the same. */
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) final;
    /** Audio thread, under the callback lock: processBlock's result on copies of the inputs in
        the outputs, in one pass. Allocates and locks nothing. */
    void processOutOfPlace(const float* const* inputs, float* const* outputs,
                           int numFrames) noexcept override;
    /** Audio thread. Leaves the four channels as they are; glides and meters hold. */
    void processBlockBypassed(juce::AudioBuffer<float>& buffer,
                              juce::MidiBuffer& midiMessages) override;
    using juce::AudioProcessor::processBlock;
    using juce::AudioProcessor::processBlockBypassed;

    const juce::String getInputChannelName(int channelIndex) const override;
    const juce::String getOutputChannelName(int channelIndex) const override;
    bool isInputChannelStereoPair(int index) const override;
    bool isOutputChannelStereoPair(int index) const override;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    // The single "Gain" parameter, index 0, through the index-based parameter interface.
    int getNumParameters() override;
    const juce::String getParameterName(int index) override;
    float getParameter(int index) override;
    const juce::String getParameterText(int index) override;
    float getParameterDefaultValue(int index) override;
    /** Any thread. Stores the normalised gain and sets the gain target by the dB law. */
    void setParameter(int index, float newValue) override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;

    void getStateInformation(juce::MemoryBlock& destData) override;
    /** Any thread. Malformed blocks are ignored without a trace. */
    void setStateInformation(const void* data, int sizeInBytes) override;

    /** Any thread. 1 converts ambiX to FuMa, any other index FuMa to ambiX; only the targets move,
        so the audio crossfades to the new channel order. */
    void setConversionMode(std::int32_t index);

    //==============================================================================================
    // Shared with the editor and the host threads.

    /** Smoothed meter positions 0..1: entries 0-3 the inputs, 4-7 the outputs. */
    std::array<std::atomic<float>, numMeters> meterLevels;
    /** Normalised value 0..1 of "Gain" as the host sees it (not clamped). */
    std::atomic<float> gainValue{0.9f};
    /** Raised after any change of gain, state or direction; cleared by the editor's timer. */
    std::atomic<bool> stateChanged{true};
    /** Conversion direction index as saved: 1 ambiX to FuMa, anything else FuMa to ambiX. */
    std::atomic<std::int32_t> idxInputConfig{0};

    //==============================================================================================
    // Glide state. Targets are written by any thread; current values belong to the audio thread.

    std::atomic<float> targetGain{1.0f};
    float currentGain = 1.0f;
    std::atomic<float> targetWeightW;
    float currentWeightW;
    std::atomic<float> targetPermutation{0.0f};
    float currentPermutation = 0.0f;

private:
    /** Four discrete channels in and out: the only layout the plug-in accepts. */
    static BusesProperties bFormatBuses();
    void processChannels(const float* const* inputs, float* const* outputs, int numChannels,
                         int numSamples) noexcept;
    void processChunk(const float* const* inputs, float* const* outputs, int numChannels,
                      int offset, int numSamples) noexcept;
    void raiseStateChanged() noexcept;

    /** Input channels metered and converted back into the buffer; lowered for good to the host's
        input count if that is ever smaller. */
    int numMeteredInputs = 4;
    /** Channels the gain stage scales; channels from here on are cleared. */
    const int numGainOutputs = 4;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(LoomcraftAudioProcessor)
};
