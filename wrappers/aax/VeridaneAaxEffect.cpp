#include "wrappers/aax/VeridaneAaxEffect.h"

#include "hosts/aax/component/GuardedCall.h"
#include "hosts/aax/delegates/AAX_CBinaryDisplayDelegate.h"
#include "hosts/aax/delegates/AAX_CBinaryTaperDelegate.h"
#include "hosts/aax/delegates/AAX_CNumberDisplayDelegate.h"
#include "hosts/aax/packets/AAX_CPacketHandler.h"
#include "hosts/aax/parameters/AAX_CParameter.h"
#include "hosts/aax/proxies/AAX_IController.h"
#include "processor/PluginIdentity.h"
#include "processor/StateBlock.h"
#include "wrappers/aax/AaxEntry.h"
#include "wrappers/aax/ProcessorParameter.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace veridane::aax
{
namespace
{
namespace identity = veridane::identity;

constexpr int32_t quadStemFormat = int32_t(identity::aaxStemFormatQuad);
/** Hosts announce no block size before audio runs; the processor takes it as an estimate, and
    longer blocks are processed all the same. */
constexpr int estimatedBlockSize = 1024;
/** For a host that answers no usable sample rate. */
constexpr double fallbackSampleRate = 48000.0;

/** The identifier of a processor parameter: its decimal index. */
std::string identifierOf(int index)
{
    return std::to_string(index);
}

// Names as the host asks for them: whole up to 31 characters, shortened to 4.
constexpr int parameterNameLength = 31;
constexpr int shortenedNameLength = 4;
/** More steps than this make a continuous parameter. */
constexpr int maxDiscreteSteps = 1000;
constexpr int32_t discreteType = 0;
constexpr int32_t continuousType = 1;
/** The orientation a parameter the processor reports as inverted is shown with. */
constexpr int32_t invertedOrientation = 19;
} // namespace

VeridaneAaxEffect::VeridaneAaxEffect(std::unique_ptr<juce::AudioProcessor> processorToWrap)
    : processor(std::move(processorToWrap)), numProcessorParameters(processor->getNumParameters()),
      stateChunkIndex(
          [this]
          {
              int32_t count = 0;
              AAX_CEffectParameters::GetNumberOfChunks(&count);
              return count;
          }())
{
    // Only now: the processor's own start-up changes are not for the host.
    processor->addListener(this);
}

VeridaneAaxEffect::~VeridaneAaxEffect()
{
    processor->removeListener(this);
    release();
}

//==================================================================================================
AAX_Result VeridaneAaxEffect::Initialize(IACFUnknown* controller)
{
    const std::lock_guard<std::mutex> hold(hostObjectsLock);
    rememberMasterBypass();
    return AAX_CEffectParameters::Initialize(controller);
}

AAX_Result VeridaneAaxEffect::Uninitialize()
{
    release();
    const std::lock_guard<std::mutex> hold(hostObjectsLock);
    rememberMasterBypass();
    return AAX_CEffectParameters::Uninitialize();
}

void VeridaneAaxEffect::rememberMasterBypass()
{
    // The base deletes the parameters; the processor keeps its own values, this one only here.
    if (const auto* const bypass = mParameterManager.GetParameterByID(kAAX_MasterBypassID))
        bypass->GetValueAsBool(&masterBypass);
}

AAX_Result VeridaneAaxEffect::EffectInit()
{
    addParameters();

    float sampleRate = 0.0f;
    int32_t inputFormat = quadStemFormat;
    int32_t outputFormat = quadStemFormat;
    auto* const controller = Controller();
    controller->GetSampleRate(&sampleRate);
    controller->GetInputStemFormat(&inputFormat);
    controller->GetOutputStemFormat(&outputFormat);
    if (inputFormat != quadStemFormat || outputFormat != quadStemFormat)
        return AAX_ERROR_UNIMPLEMENTED;

    controller->SetSignalLatency(processor->getLatencySamples());
    prepare(std::isfinite(sampleRate) && sampleRate > 0.0f ? double(sampleRate)
                                                           : fallbackSampleRate);
    return AAX_SUCCESS;
}

void VeridaneAaxEffect::addParameters()
{
    auto bypass = std::make_unique<AAX_CParameter<bool>>(
        kAAX_MasterBypassID, AAX_CString("Master Bypass"), false, AAX_CBinaryTaperDelegate<bool>(),
        AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
    bypass->SetNumberOfSteps(2);
    bypass->SetType(discreteType);
    bypass->UpdateNormalizedValue(masterBypass ? 1.0 : 0.0);
    mParameterManager.AddParameter(bypass.release());

    for (int index = 0; index < numProcessorParameters; ++index)
    {
        auto parameter = std::make_unique<ProcessorParameter>(
            identifierOf(index).c_str(),
            AAX_CString(processor->getParameterName(index, parameterNameLength).toRawUTF8()),
            processor->getParameterDefaultValue(index), ProcessorParameter::taper,
            AAX_CNumberDisplayDelegate<float, 3u, 0u>(), processor->isParameterAutomatable(index));
        parameter->AddShortenedName(
            AAX_CString(processor->getParameterName(index, shortenedNameLength).toRawUTF8()));
        const int steps = processor->getParameterNumSteps(index);
        parameter->SetNumberOfSteps(uint32_t(std::max(steps, 0)));
        parameter->SetType(steps > maxDiscreteSteps ? continuousType : discreteType);
        parameter->SetOrientation(
            processor->isParameterOrientationInverted(index) ? invertedOrientation : 0);
        // An instance initialised again starts from the processor's value, not the default.
        parameter->UpdateNormalizedValue(processor->getParameter(index));
        mParameterManager.AddParameter(parameter.release());
    }

    // Registered once: each registration is another handler that every dispatch walks. The
    // algorithm still gets the value again after each initialisation.
    if (!bypassPacketRegistered)
        mPacketDispatcher.RegisterPacket(
            kAAX_MasterBypassID, bypassPortField,
            AAX_CPacketHandler<AAX_CPacketDispatcher>(
                &mPacketDispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket));
    bypassPacketRegistered = true;
    mPacketDispatcher.SetDirty(kAAX_MasterBypassID, true);
}

void VeridaneAaxEffect::prepare(double sampleRate)
{
    {
        // Audio that runs while the host initialises must not see a half-configured processor.
        const juce::ScopedLock hold(processor->getCallbackLock());
        processor->setPlayConfigDetails(identity::channelConfiguration.numInputs,
                                        identity::channelConfiguration.numOutputs, sampleRate,
                                        estimatedBlockSize);
        processor->prepareToPlay(sampleRate, estimatedBlockSize);
    }
    prepared.store(true);
}

void VeridaneAaxEffect::release()
{
    if (!prepared.exchange(false))
        return;
    const juce::ScopedLock hold(processor->getCallbackLock());
    processor->releaseResources();
}

void VeridaneAaxEffect::process(float* const* inputs, float* const* outputs, int32_t numFrames,
                                bool bypassed) noexcept
{
    runner.process(*processor, inputs, outputs, numFrames, bypassed);
}

AAX_Result VeridaneAaxEffect::ResetFieldData(int32_t fieldIndex, void* data, uint32_t size) const
{
    // Zeroing only part of an address would leave the rest of the old one for the audio callback
    // to call through.
    if (fieldIndex == privateDataField && data != nullptr && size > 0 && size < sizeof(void*))
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    const AAX_Result reset = AAX_CEffectParameters::ResetFieldData(fieldIndex, data, size);
    if (reset != AAX_SUCCESS || fieldIndex != privateDataField || size < sizeof(void*))
        return reset;
    // The host calls this on the object it holds; the audio callback needs it as its own.
    const auto* const self = this;
    std::memcpy(data, &self, sizeof self);
    return AAX_SUCCESS;
}

ACFResult VeridaneAaxEffect::InternalQueryInterface(const ACFGuid* iid, void** out)
{
    if (out != nullptr && isGuid(iid, kClassIID))
    {
        *out = this;
        AddRef();
        return AAX_SUCCESS;
    }
    return AAX_CEffectParameters::InternalQueryInterface(iid, out);
}

//==================================================================================================
std::optional<int> VeridaneAaxEffect::processorParameterIndex(AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return std::nullopt;
    const auto* const end = identifier + std::strlen(identifier);
    int index = -1;
    const auto [stop, error] = std::from_chars(identifier, end, index);
    if (error != std::errc() || stop != end || index < 0 || index >= numProcessorParameters ||
        identifierOf(index) != identifier)
        return std::nullopt;
    return index;
}

ProcessorParameter* VeridaneAaxEffect::parameterFor(int index)
{
    // The manager holds only the parameters EffectInit made, and these under their index.
    return static_cast<ProcessorParameter*>(
        mParameterManager.GetParameterByID(identifierOf(index).c_str()));
}

AAX_Result VeridaneAaxEffect::UpdateParameterNormalizedValue(AAX_CParamID identifier, double value,
                                                             int32_t updateSource)
{
    const AAX_Result updated =
        AAX_CEffectParameters::UpdateParameterNormalizedValue(identifier, value, updateSource);
    if (updated != AAX_SUCCESS)
        return updated;
    return guardedCall(
        [&]
        {
            const auto index = processorParameterIndex(identifier);
            float stored = 0.0f;
            if (!index || !parameterFor(*index)->GetValueAsFloat(&stored))
                return updated;
            // Straight to the processor: telling its listeners would send the value back to the
            // host, which, answering at once, would update again without end. The host's answer
            // to a change the processor made itself finds the value already there.
            if (processor->getParameter(*index) != stored)
                processor->setParameter(*index, stored);
            return updated;
        });
}

void VeridaneAaxEffect::requestRestoredValues()
{
    const std::lock_guard<std::mutex> hold(hostObjectsLock);
    for (int index = 0; index < numProcessorParameters; ++index)
    {
        auto* const parameter = parameterFor(index);
        if (parameter == nullptr)
            continue;
        // The state's text holds 6 digits. Where they stand for the value the parameter was last
        // given (by an 'elck' chunk restored first, say), that exact value stays, so the
        // restored session compares equal to the one saved.
        const float given = parameter->lastGiven();
        const float restored = processor->getParameter(index);
        if (std::isfinite(given) && restored != given && veridane::gainReadBack(given) == restored)
            processor->setParameter(index, given);
        parameter->SetValueWithFloat(processor->getParameter(index));
    }
}

void VeridaneAaxEffect::audioProcessorParameterChanged(juce::AudioProcessor*, int index,
                                                       float value)
{
    const std::lock_guard<std::mutex> hold(hostObjectsLock);
    if (auto* const parameter = parameterFor(index))
        parameter->SetValueWithFloat(value);
}

void VeridaneAaxEffect::audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails& details)
{
    const std::lock_guard<std::mutex> hold(hostObjectsLock);
    if (details.latencyChanged && Controller() != nullptr)
        Controller()->SetSignalLatency(processor->getLatencySamples());
}

void VeridaneAaxEffect::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index)
{
    const std::lock_guard<std::mutex> hold(hostObjectsLock);
    TouchParameter(identifierOf(index).c_str());
}

void VeridaneAaxEffect::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index)
{
    const std::lock_guard<std::mutex> hold(hostObjectsLock);
    ReleaseParameter(identifierOf(index).c_str());
}

} // namespace veridane::aax

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
