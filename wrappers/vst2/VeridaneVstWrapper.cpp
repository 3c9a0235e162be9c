#include "wrappers/vst2/VeridaneVstWrapper.h"

#include "processor/PluginIdentity.h"
#include "wrappers/vst2/HostText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veridane::vst2
{
namespace
{
namespace identity = veridane::identity;

static_assert(identity::vstFlags ==
                  (effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks),
              "the flags announced must be the ones the identity lists");
static_assert(identity::channelConfiguration.numInputs == wrappers::BlockRunner::numChannels &&
                  identity::channelConfiguration.numOutputs == wrappers::BlockRunner::numChannels,
              "the audio path is built for the one channel configuration");

int32_t programCount(juce::AudioProcessor& processor)
{
    // Hosts expect at least one program to name and select.
    return std::max(1, processor.getNumPrograms());
}

int32_t parameterCount(juce::AudioProcessor& processor)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    return processor.getNumParameters();
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

juce::String toString(std::string_view text)
{
    return juce::String::fromUTF8(text.data(), static_cast<int>(text.size()));
}
} // namespace

VeridaneVstWrapper::VeridaneVstWrapper(audioMasterCallback hostCallback,
                                       std::unique_ptr<juce::AudioProcessor> processorToWrap)
    : AudioEffectX(hostCallback, programCount(*processorToWrap), parameterCount(*processorToWrap)),
      processor(std::move(processorToWrap)), chunks(*processor), editorHost(*processor)
{
    cEffect.flags |= identity::hasEditor ? effFlagsHasEditor : 0;
    cEffect.version = identity::vstVersion;
    setUniqueID(identity::vstUniqueId);
    setNumInputs(identity::channelConfiguration.numInputs);
    setNumOutputs(identity::channelConfiguration.numOutputs);
    canProcessReplacing(true);
    isSynth(identity::isInstrument);
    setInitialDelay(processor->getLatencySamples());
    programsAreChunks(true);

    // Only now: the processor's own start-up changes are not for the host.
    processor->addListener(this);
}

VeridaneVstWrapper::~VeridaneVstWrapper()
{
    editorHost.close();
    processor->removeListener(this);
    if (prepared.exchange(false))
        processor->releaseResources();
}

intptr_t VeridaneVstWrapper::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                        float opt)
{
    switch (opcode)
    {
    case effEditGetRect:
        return editorHost.getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editorHost.open(ptr) ? 1 : 0;
    case effEditClose:
        editorHost.close();
        return 0;
    case effEditIdle:
        editorHost.idle();
        return 0;

    // Sizes arrive pointer-wide; cut to 32 bits, a hostile one could turn into a plausible one.
    case effSetChunk:
        return chunks.set(ptr, value, index != 0);
    case effSetBlockSize:
        if (value <= 0 || value > std::numeric_limits<int32_t>::max())
            return 0;
        break;
    default:
        break;
    }
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

//==================================================================================================
void VeridaneVstWrapper::resume()
{
    prepare();
    AudioEffectX::resume();
}

void VeridaneVstWrapper::prepare()
{
    const double rate = getSampleRate();
    const int block = getBlockSize();
    {
        // A host that processes while it resumes must not see a half-configured processor.
        const juce::ScopedLock hold(processor->getCallbackLock());
        processor->setPlayConfigDetails(identity::channelConfiguration.numInputs,
                                        identity::channelConfiguration.numOutputs, rate, block);
        processor->prepareToPlay(rate, block);
    }
    prepared.store(true);
}

void VeridaneVstWrapper::suspend()
{
    {
        const juce::ScopedLock hold(processor->getCallbackLock());
        processor->releaseResources();
    }
    prepared.store(false);
}

void VeridaneVstWrapper::setSampleRate(float newSampleRate)
{
    if (std::isfinite(newSampleRate) && newSampleRate > 0.0f)
        AudioEffectX::setSampleRate(newSampleRate);
}

void VeridaneVstWrapper::setBlockSize(int32_t newBlockSize)
{
    if (newBlockSize > 0)
        AudioEffectX::setBlockSize(newBlockSize);
}

void VeridaneVstWrapper::processReplacing(float** inputs, float** outputs, int32_t sampleFrames)
{
    // Some hosts process without ever resuming.
    if (firstProcessCall.load(std::memory_order_relaxed))
    {
        firstProcessCall.store(false, std::memory_order_relaxed);
        if (!prepared.load())
            resume();
    }
    runner.process(*processor, inputs, outputs, sampleFrames,
                   bypassed.load(std::memory_order_relaxed));
}

bool VeridaneVstWrapper::setBypass(bool onOff)
{
    bypassed.store(onOff, std::memory_order_relaxed);
    return true;
}

int32_t VeridaneVstWrapper::processEvents(VstEvents*)
{
    return 1;
}

int32_t VeridaneVstWrapper::getGetTailSize()
{
    return juce::roundToInt(processor->getTailLengthSeconds() * getSampleRate());
}

bool VeridaneVstWrapper::setSpeakerArrangement(VstSpeakerArrangement* pluginInput,
                                               VstSpeakerArrangement* pluginOutput)
{
    // Only the one configuration is accepted; what the speakers are called does not matter.
    return pluginInput != nullptr && pluginOutput != nullptr &&
           pluginInput->numChannels == identity::channelConfiguration.numInputs &&
           pluginOutput->numChannels == identity::channelConfiguration.numOutputs;
}

//==================================================================================================
int32_t VeridaneVstWrapper::getChunk(void** data, bool isPreset)
{
    return chunks.get(data, isPreset);
}

int32_t VeridaneVstWrapper::setChunk(void* data, int32_t byteSize, bool isPreset)
{
    return chunks.set(data, byteSize, isPreset);
}

//==================================================================================================
bool VeridaneVstWrapper::getEffectName(char* name)
{
    copyToHost(toString(identity::pluginName), name, hostTextLength::effectName);
    return name != nullptr;
}

bool VeridaneVstWrapper::getVendorString(char* text)
{
    copyToHost(toString(identity::manufacturerName), text, hostTextLength::effectName);
    return text != nullptr;
}

bool VeridaneVstWrapper::getProductString(char* text)
{
    copyToHost(toString(identity::pluginDescription), text, hostTextLength::effectName);
    return text != nullptr;
}

int32_t VeridaneVstWrapper::getVendorVersion()
{
    return identity::vstVersion;
}

int32_t VeridaneVstWrapper::canDo(char* text)
{
    const auto question = readFromHost(text);
    for (const auto& row : identity::vstCanDoAnswers)
        if (question == toString(row.question))
            return row.answer;
    return 0;
}

VstPlugCategory VeridaneVstWrapper::getPlugCategory()
{
    return static_cast<VstPlugCategory>(identity::vstCategorySpatializer);
}

} // namespace veridane::vst2
