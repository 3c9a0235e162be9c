#include "processor/LoomcraftAudioProcessor.h"

#include "processor/ConversionDirection.h"
#include "processor/GainLaw.h"
#include "processor/Glide.h"
#include "processor/MeterBallistics.h"
#include "processor/PluginIdentity.h"
#include "processor/StateBlock.h"
#include "processor/VectorOps.h"

#include <algorithm>
#include <cstring>

using veridane::identity::channelConfiguration;

namespace
{
using Fvo = juce::FloatVectorOperations;

constexpr int numBFormatChannels = 4;

std::unique_ptr<float[]> makeScratch()
{
    // Uninitialised on purpose: every pass writes a buffer before it reads it.
    return std::unique_ptr<float[]>(new float[LoomcraftAudioProcessor::maxChunkSize]);
}

/** Steps every gliding stage through one chunk. The stages' serial chains are independent, so they
    run interleaved in one loop instead of one after another. */
struct GlideStage
{
    float& current;
    const std::atomic<float>& target;
    float* curve;
    bool gliding;
};

void runGlides(GlideStage& w, GlideStage& order, GlideStage& gain, int numSamples) noexcept
{
    if (!(w.gliding || order.gliding || gain.gliding))
        return;

    // Locals, not the members: stores into the curves could alias them and would put a memory
    // round trip into every step of the chain.
    float currentW = w.current, currentOrder = order.current, currentGain = gain.current;
    for (int i = 0; i < numSamples; ++i)
    {
        // Targets are read afresh for every sample so a change lands within the block.
        if (w.gliding)
            w.curve[i] = currentW =
                veridane::glideStep(currentW, w.target.load(std::memory_order_relaxed));
        if (order.gliding)
            order.curve[i] = currentOrder =
                veridane::glideStep(currentOrder, order.target.load(std::memory_order_relaxed));
        if (gain.gliding)
            gain.curve[i] = currentGain =
                veridane::glideStep(currentGain, gain.target.load(std::memory_order_relaxed));
    }
    w.current = currentW;
    order.current = currentOrder;
    gain.current = currentGain;
}

/** Settles a stage at the block start: within 1e-6 (or NaN) it takes its target exactly. */
bool startStage(GlideStage& stage) noexcept
{
    const float target = stage.target.load(std::memory_order_relaxed);
    stage.gliding = !veridane::isSettled(stage.current, target);
    if (!stage.gliding)
        stage.current = target;
    return stage.gliding;
}
} // namespace

//==================================================================================================
juce::AudioProcessor::BusesProperties LoomcraftAudioProcessor::bFormatBuses()
{
    const auto bFormat = juce::AudioChannelSet::discreteChannels(numBFormatChannels);
    return BusesProperties().withInput("Input", bFormat, true).withOutput("Output", bFormat, true);
}

LoomcraftAudioProcessor::LoomcraftAudioProcessor()
    : juce::AudioProcessor(bFormatBuses()), targetWeightW(veridane::sqrtTwo),
      currentWeightW(veridane::sqrtTwo)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    setParameterNotifyingHost(0, veridane::defaultGainValue);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    for (auto& level : meterLevels)
        level.store(0.0f, std::memory_order_relaxed);

    for (auto& buffer : scratchBuffers)
        buffer = makeScratch();
    for (auto& curve : glideCurves)
        curve = makeScratch();
    silence = std::make_unique<float[]>(maxChunkSize); // value-initialised: zeros

    raiseStateChanged();
}

LoomcraftAudioProcessor::~LoomcraftAudioProcessor() = default;

const juce::String LoomcraftAudioProcessor::getName() const
{
    return juce::String(veridane::identity::pluginName.data());
}

void LoomcraftAudioProcessor::prepareToPlay(double, int) {}
void LoomcraftAudioProcessor::releaseResources() {}

bool LoomcraftAudioProcessor::isBusesLayoutSupported(const BusesLayout& layout) const
{
    return layout.getMainInputChannels() == channelConfiguration.numInputs &&
           layout.getMainOutputChannels() == channelConfiguration.numOutputs;
}

//==================================================================================================
void LoomcraftAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    float* const* channels = buffer.getArrayOfWritePointers();
    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    // A block longer than the scratch runs as consecutive chunks, each exactly as if the host had
    // sent it alone (settled test and meter update included). An empty block still runs once: it
    // settles stages and lets the meters fall.
    int offset = 0;
    do
    {
        const int chunk = std::min(numSamples - offset, maxChunkSize);
        processChunk(channels, numChannels, offset, chunk);
        offset += chunk;
    } while (offset < numSamples);
}

void LoomcraftAudioProcessor::processChunk(float* const* channels, int numChannels, int offset,
                                           int n)
{
    // Channels the block lacks read as silence and are never written.
    auto input = [&](int c) -> const float*
    { return c < numChannels ? channels[c] + offset : silence.get(); };
    auto output = [&](int c) -> float* { return c < numChannels ? channels[c] + offset : nullptr; };

    GlideStage w{currentWeightW, targetWeightW, glideCurves[0].get(), false};
    GlideStage order{currentPermutation, targetPermutation, glideCurves[1].get(), false};
    GlideStage gain{currentGain, targetGain, glideCurves[2].get(), false};
    startStage(w);
    startStage(order);
    startStage(gain);
    runGlides(w, order, gain, n);

    // Where each converted channel comes from: W scaled into scratch, and the channel order either
    // crossfaded into scratch or, when settled, read straight from its input channel.
    std::array<const float*, numBFormatChannels> converted{};
    float* const scaledW = scratchBuffers[0].get();
    if (w.gliding)
        Fvo::multiply(scaledW, w.curve, input(0), n);
    else
        Fvo::multiply(scaledW, input(0), w.current, n);
    converted[0] = scaledW;

    // Position 0 takes Y Z X from input positions 2 3 1; position 1 takes X Y Z from 3 1 2.
    static constexpr int atZero[] = {0, 2, 3, 1};
    static constexpr int atOne[] = {0, 3, 1, 2};
    if (order.gliding)
    {
        for (int c = 1; c < numBFormatChannels; ++c)
        {
            float* dest = scratchBuffers[size_t(c)].get();
            veridane::vector::crossfade(dest, input(atZero[c]), input(atOne[c]), order.curve, n);
            converted[size_t(c)] = dest;
        }
    }
    else
    {
        const int* source = order.current == 0.0f ? atZero : atOne;
        for (int c = 1; c < numBFormatChannels; ++c)
            converted[size_t(c)] = input(source[c]);
    }

    // Only ever lowered: a host that once ran fewer inputs keeps the smaller meter set.
    numMeteredInputs = std::min(numMeteredInputs, getTotalNumInputChannels());
    const int metered = std::max(0, numMeteredInputs);

    auto updateMeter = [this](int meter, float peak)
    {
        auto& level = meterLevels[size_t(meter)];
        level.store(veridane::updatedMeterLevel(level.load(std::memory_order_relaxed), peak),
                    std::memory_order_relaxed);
    };

    // The buffer still holds the input here, so these meters show it before conversion.
    for (int c = 0; c < std::min(metered, numMeters); ++c)
        updateMeter(c, c < numChannels ? veridane::vector::peakMagnitude(input(c), n) : 0.0f);

    // Write back the converted channels and apply the gain, one pass per channel that also
    // finds the output peak. The block is converted in place, so an input channel that a later
    // output still reads is saved to scratch before it is overwritten.
    std::array<float, numBFormatChannels> outputPeaks{};
    for (int c = 0; c < numBFormatChannels; ++c)
    {
        float* dest = output(c);
        if (dest == nullptr)
            continue;
        for (int later = c + 1; later < numBFormatChannels; ++later)
        {
            if (converted[size_t(later)] == dest)
            {
                float* saved = scratchBuffers[size_t(later)].get();
                Fvo::copy(saved, dest, n);
                converted[size_t(later)] = saved;
            }
        }
        const bool isConverted = c < metered;
        const bool scaled = c < numGainOutputs;
        const float* source = isConverted ? converted[size_t(c)] : dest;
        if (scaled && gain.gliding)
            outputPeaks[size_t(c)] = veridane::vector::scaleAndPeak(dest, source, gain.curve, n);
        else if (scaled)
            outputPeaks[size_t(c)] = veridane::vector::scaleAndPeak(dest, source, gain.current, n);
        else
        {
            if (isConverted && source != dest)
                Fvo::copy(dest, source, n);
            outputPeaks[size_t(c)] = veridane::vector::peakMagnitude(dest, n);
        }
    }

    for (int k = metered; k < numMeters; ++k)
    {
        const int channel = k - metered;
        updateMeter(k, channel < numBFormatChannels ? outputPeaks[size_t(channel)] : 0.0f);
    }

    const int lastOutput = std::min(getTotalNumOutputChannels(), numChannels);
    for (int c = std::max(0, numGainOutputs); c < lastOutput; ++c)
        Fvo::clear(channels[c] + offset, n);
}

void LoomcraftAudioProcessor::processBlockBypassed(juce::AudioBuffer<float>& buffer,
                                                   juce::MidiBuffer&)
{
    float* const* channels = buffer.getArrayOfWritePointers();
    const int lastOutput = std::min(getTotalNumOutputChannels(), buffer.getNumChannels());
    for (int c = std::max(0, numGainOutputs); c < lastOutput; ++c)
        Fvo::clear(channels[c], buffer.getNumSamples());
}

//==================================================================================================
const juce::String LoomcraftAudioProcessor::getInputChannelName(int channelIndex) const
{
    return juce::String(channelIndex + 1);
}

const juce::String LoomcraftAudioProcessor::getOutputChannelName(int channelIndex) const
{
    return juce::String(channelIndex + 1);
}

bool LoomcraftAudioProcessor::isInputChannelStereoPair(int) const
{
    return true;
}
bool LoomcraftAudioProcessor::isOutputChannelStereoPair(int) const
{
    return true;
}
double LoomcraftAudioProcessor::getTailLengthSeconds() const
{
    return 0.0;
}
bool LoomcraftAudioProcessor::acceptsMidi() const
{
    return veridane::identity::acceptsMidiInput;
}
bool LoomcraftAudioProcessor::producesMidi() const
{
    return veridane::identity::producesMidiOutput;
}
bool LoomcraftAudioProcessor::hasEditor() const
{
    return veridane::identity::hasEditor;
}

//==================================================================================================
int LoomcraftAudioProcessor::getNumParameters()
{
    return 1;
}

const juce::String LoomcraftAudioProcessor::getParameterName(int index)
{
    return index == 0 ? juce::String("Gain") : juce::String();
}

float LoomcraftAudioProcessor::getParameter(int index)
{
    return index == 0 ? gainValue.load(std::memory_order_relaxed) : 0.0f;
}

const juce::String LoomcraftAudioProcessor::getParameterText(int index)
{
    return index == 0 ? juce::String(gainValue.load(std::memory_order_relaxed)) : juce::String();
}

float LoomcraftAudioProcessor::getParameterDefaultValue(int index)
{
    return index == 0 ? veridane::defaultGainValue : 0.0f;
}

void LoomcraftAudioProcessor::setParameter(int index, float newValue)
{
    if (index != 0)
        return;
    gainValue.store(newValue, std::memory_order_relaxed);
    targetGain.store(veridane::linearGainForGainValue(newValue), std::memory_order_relaxed);
    raiseStateChanged();
}

//==================================================================================================
int LoomcraftAudioProcessor::getNumPrograms()
{
    return 1;
}
int LoomcraftAudioProcessor::getCurrentProgram()
{
    return 0;
}
void LoomcraftAudioProcessor::setCurrentProgram(int) {}
const juce::String LoomcraftAudioProcessor::getProgramName(int)
{
    return "Default";
}
void LoomcraftAudioProcessor::changeProgramName(int, const juce::String&) {}

void LoomcraftAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    destData = veridane::writeStateBlock(gainValue.load(std::memory_order_relaxed),
                                         idxInputConfig.load(std::memory_order_relaxed));
}

void LoomcraftAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    const auto state = veridane::readStateBlock(data, sizeInBytes);
    if (!state)
        return;
    if (state->gainValue)
        setParameter(0, *state->gainValue);
    if (state->direction)
        setConversionMode(*state->direction);
    raiseStateChanged();
}

void LoomcraftAudioProcessor::setConversionMode(std::int32_t index)
{
    idxInputConfig.store(index, std::memory_order_relaxed);
    const auto targets = veridane::targetsForDirection(index);
    targetWeightW.store(targets.weightW, std::memory_order_relaxed);
    targetPermutation.store(targets.permutation, std::memory_order_relaxed);
    raiseStateChanged();
}

void LoomcraftAudioProcessor::raiseStateChanged() noexcept
{
    // Release: whoever sees the flag with acquire also sees the values written before it.
    stateChanged.store(true, std::memory_order_release);
}
