#include "processor/LoomcraftAudioProcessor.h"

#include "processor/ChunkConverter.h"
#include "processor/ConversionDirection.h"
#include "processor/GainLaw.h"
#include "processor/MeterBallistics.h"
#include "processor/PluginIdentity.h"
#include "processor/StateBlock.h"

#include <algorithm>

using veridane::identity::channelConfiguration;

namespace
{
using Fvo = juce::FloatVectorOperations;

constexpr int numBFormatChannels = 4;
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
    processChannels(channels, channels, buffer.getNumChannels(), buffer.getNumSamples());
}

void LoomcraftAudioProcessor::processOutOfPlace(const float* const* inputs, float* const* outputs,
                                                int numFrames) noexcept
{
    processChannels(inputs, outputs, numBFormatChannels, numFrames);
}

void LoomcraftAudioProcessor::processChannels(const float* const* inputs, float* const* outputs,
                                              int numChannels, int numSamples) noexcept
{
    // A block longer than the scratch runs as consecutive chunks, each exactly as if the host had
    // sent it alone (settled test and meter update included). An empty block still runs once: it
    // settles stages and lets the meters fall.
    int offset = 0;
    do
    {
        const int chunk = std::min(numSamples - offset, maxChunkSize);
        processChunk(inputs, outputs, numChannels, offset, chunk);
        offset += chunk;
    } while (offset < numSamples);
}

void LoomcraftAudioProcessor::processChunk(const float* const* inputs, float* const* outputs,
                                           int numChannels, int offset, int n) noexcept
{
    std::array<const float*, numBFormatChannels> from{};
    std::array<float*, numBFormatChannels> to{};
    const int numPresent = std::min(numChannels, numBFormatChannels);
    for (int c = 0; c < numPresent; ++c)
    {
        from[size_t(c)] = inputs[c] + offset;
        to[size_t(c)] = outputs[c] + offset;
    }

    // Only ever lowered: a host that once ran fewer inputs keeps the smaller meter set.
    numMeteredInputs = std::min(numMeteredInputs, getTotalNumInputChannels());
    const int metered = std::max(0, numMeteredInputs);

    veridane::ConversionStages stages{{currentWeightW, targetWeightW},
                                      {currentPermutation, targetPermutation},
                                      {currentGain, targetGain}};
    const auto peaks =
        veridane::convertChunk(from.data(), to.data(), numPresent, metered, n, stages);

    // Input meters show the signal before conversion, output meters after the gain. The eight
    // logarithms first: they are independent, so they overlap instead of waiting on each other.
    std::array<float, numMeters> decibels{};
    for (int k = 0; k < numMeters; ++k)
    {
        const auto channel = size_t(k < metered ? k : k - metered);
        const auto& source = k < metered ? peaks.inputs : peaks.outputs;
        decibels[size_t(k)] =
            veridane::meterDecibels(channel < source.size() ? source[channel] : 0.0f);
    }
    for (int k = 0; k < numMeters; ++k)
    {
        auto& level = meterLevels[size_t(k)];
        level.store(
            veridane::meterLevelAfter(level.load(std::memory_order_relaxed), decibels[size_t(k)]),
            std::memory_order_relaxed);
    }

    const int lastOutput = std::min(getTotalNumOutputChannels(), numChannels);
    for (int c = std::max(0, numGainOutputs); c < lastOutput; ++c)
        Fvo::clear(outputs[c] + offset, n);
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
