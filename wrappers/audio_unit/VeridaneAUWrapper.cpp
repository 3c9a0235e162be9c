#include "wrappers/audio_unit/VeridaneAUWrapper.h"

#include "processor/PluginIdentity.h"
#include "wrappers/common/ProcessorCreation.h"

#include <algorithm>
#include <array>
#include <limits>

namespace veridane::au
{
namespace
{
namespace identity = veridane::identity;

static_assert(identity::channelConfiguration.numInputs == wrappers::BlockRunner::numChannels &&
                  identity::channelConfiguration.numOutputs == wrappers::BlockRunner::numChannels,
              "the audio path is built for the one channel configuration");
static_assert(identity::auUnsupportedChannelsStatus == kAudioUnitErr_FormatNotSupported);

constexpr std::array<AUChannelInfo, 1> supportedChannels{
    {{SInt16(identity::channelConfiguration.numInputs),
      SInt16(identity::channelConfiguration.numOutputs)}}};

/** Room for the MIDI of a render cycle: a few hundred channel messages. */
constexpr int midiCapacityBytes = 4096;

/** The unit's names, presets and saved state are CoreFoundation objects shared with the host:
    in a process that has none the unit is refused before anything of it is built. */
AudioComponentInstance requireCoreFoundation(AudioComponentInstance instance)
{
    if (!VeridaneCFPresent())
        throw OSStatus(kAudioUnitErr_FailedInitialization);
    return instance;
}

std::unique_ptr<juce::AudioProcessor> createProcessor()
{
    auto created = wrappers::createProcessorFor(juce::AudioProcessor::wrapperType_AudioUnit);
    if (created == nullptr)
        throw std::bad_alloc();
    return created;
}

int parameterCount(juce::AudioProcessor& processor)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    return std::max(0, processor.getNumParameters());
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

/** The host's buffer c of a list, or null when the list has none. */
float* channel(const AudioBufferList& list, int c)
{
    return UInt32(c) < list.mNumberBuffers ? static_cast<float*>(list.mBuffers[c].mData) : nullptr;
}
} // namespace

VeridaneAUWrapper::VeridaneAUWrapper(AudioComponentInstance inInstance)
    : AUMIDIEffectBase(requireCoreFoundation(inInstance), false), processor(createProcessor()),
      numParameters(parameterCount(*processor)), incomingMidi(midiCapacityBytes)
{
    Globals().GetElement(0)->UseIndexedParameters(numParameters);
    updateParameterSlots();

    const auto untitled = juce::String("Untitled");
    presets.reserve(size_t(std::max(0, processor->getNumPrograms())));
    for (int index = 0; index < processor->getNumPrograms(); ++index)
    {
        const auto name = processor->getProgramName(index);
        presets.push_back(
            {index, CFStringCreateWithCString(kCFAllocatorDefault,
                                              (name.isEmpty() ? untitled : name).toRawUTF8(),
                                              kCFStringEncodingUTF8)});
    }

    // Only now: the processor's own start-up changes are not for the host.
    processor->addListener(this);
}

VeridaneAUWrapper::~VeridaneAUWrapper()
{
    processor->removeListener(this);
    for (const auto& preset : presets)
        CFRelease(preset.presetName);
}

//==================================================================================================
OSStatus VeridaneAUWrapper::Version()
{
    return OSStatus(identity::versionCode);
}

UInt32 VeridaneAUWrapper::SupportedNumChannels(const AUChannelInfo** outInfo)
{
    if (outInfo != nullptr)
        *outInfo = supportedChannels.data();
    return UInt32(supportedChannels.size());
}

Float64 VeridaneAUWrapper::GetLatency()
{
    const Float64 rate = GetStreamFormat(kAudioUnitScope_Output, 0).mSampleRate;
    return rate > 0.0 ? processor->getLatencySamples() / rate : 0.0;
}

Float64 VeridaneAUWrapper::GetTailTime()
{
    return processor->getTailLengthSeconds();
}

//==================================================================================================
OSStatus VeridaneAUWrapper::Initialize()
{
    if (const OSStatus result = AUMIDIEffectBase::Initialize(); result != noErr)
        return result;

    const double rate = GetStreamFormat(kAudioUnitScope_Output, 0).mSampleRate;
    const int maxFrames =
        int(std::min<UInt32>(GetMaxFramesPerSlice(), UInt32(std::numeric_limits<int>::max())));
    // A render already running elsewhere must not see a half-configured processor.
    const juce::ScopedLock hold(processor->getCallbackLock());
    processor->setPlayConfigDetails(identity::channelConfiguration.numInputs,
                                    identity::channelConfiguration.numOutputs, rate, maxFrames);
    processor->prepareToPlay(rate, maxFrames);
    return noErr;
}

void VeridaneAUWrapper::Cleanup()
{
    AUMIDIEffectBase::Cleanup();
    const juce::ScopedLock hold(processor->getCallbackLock());
    processor->releaseResources();
}

OSStatus VeridaneAUWrapper::Reset(AudioUnitScope inScope, AudioUnitElement inElement)
{
    const OSStatus result = AUMIDIEffectBase::Reset(inScope, inElement);
    processor->reset();
    return result;
}

OSStatus VeridaneAUWrapper::ProcessBufferLists(AudioUnitRenderActionFlags& ioActionFlags,
                                               const AudioBufferList& inBuffer,
                                               AudioBufferList& outBuffer, UInt32 inFramesToProcess)
{
    constexpr int channels = wrappers::BlockRunner::numChannels;
    std::array<float*, channels> inputs{};
    std::array<float*, channels> outputs{};
    for (int c = 0; c < channels; ++c)
    {
        inputs[size_t(c)] = channel(inBuffer, c);
        outputs[size_t(c)] = channel(outBuffer, c);
    }
    const auto frames = std::int32_t(
        std::min<UInt32>(inFramesToProcess, UInt32(std::numeric_limits<std::int32_t>::max())));
    runner.process(*processor, inputs.data(), outputs.data(), frames, false);

    // The processor does not promise silence for silent input, so the output is never reported
    // silent.
    ioActionFlags &= ~AudioUnitRenderActionFlags(kAudioUnitRenderAction_OutputIsSilence);
    incomingMidi.clearIfFree();
    return noErr;
}

//==================================================================================================
OSStatus VeridaneAUWrapper::HandleMidiEvent(UInt8 inStatus, UInt8 inChannel, UInt8 inData1,
                                            UInt8 inData2, UInt32 inStartFrame)
{
    const std::uint8_t message[] = {std::uint8_t(inStatus | inChannel), inData1, inData2};
    incomingMidi.add(message, sizeof message, inStartFrame);
    return noErr;
}

OSStatus VeridaneAUWrapper::HandleSysEx(const UInt8* inData, UInt32 inLength)
{
    incomingMidi.add(inData, inLength, 0);
    return noErr;
}

} // namespace veridane::au
