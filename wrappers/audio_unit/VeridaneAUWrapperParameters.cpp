// Parameters in the global scope, their slots in the global element, and the processor's reports
// of its own changes. The processor serves them through JUCE's index-based (deprecated)
// interface, which is the one it implements.
#include "wrappers/audio_unit/VeridaneAUWrapper.h"

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace veridane::au
{

bool VeridaneAUWrapper::isParameter(AudioUnitParameterID inID) const noexcept
{
    return inID < AudioUnitParameterID(numParameters);
}

void VeridaneAUWrapper::updateParameterSlots()
{
    AUElement* global = Globals().GetElement(0);
    for (int index = 0; index < numParameters; ++index)
        global->SetParameter(AudioUnitParameterID(index), processor->getParameter(index), true);
}

OSStatus VeridaneAUWrapper::GetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement,
                                         AudioUnitParameterValue& outValue)
{
    if (inScope != kAudioUnitScope_Global)
        return AUMIDIEffectBase::GetParameter(inID, inScope, inElement, outValue);
    if (!isParameter(inID))
        return kAudioUnitErr_InvalidParameter;
    outValue = processor->getParameter(int(inID));
    return noErr;
}

OSStatus VeridaneAUWrapper::SetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement,
                                         AudioUnitParameterValue inValue,
                                         UInt32 inBufferOffsetInFrames)
{
    if (inScope != kAudioUnitScope_Global)
        return AUMIDIEffectBase::SetParameter(inID, inScope, inElement, inValue,
                                              inBufferOffsetInFrames);
    if (!isParameter(inID))
        return kAudioUnitErr_InvalidParameter;
    // Straight to the processor: the host already knows, so no listener hears of it.
    processor->setParameter(int(inID), inValue);
    Globals().GetElement(0)->SetParameter(inID, inValue, true);
    return noErr;
}

OSStatus VeridaneAUWrapper::GetParameterInfo(AudioUnitScope inScope,
                                             AudioUnitParameterID inParameterID,
                                             AudioUnitParameterInfo& outParameterInfo)
{
    if (inScope != kAudioUnitScope_Global || !isParameter(inParameterID))
        return kAudioUnitErr_InvalidParameter;
    const int index = int(inParameterID);
    const juce::String name = processor->getParameterName(index);

    outParameterInfo = AudioUnitParameterInfo{};
    name.copyToUTF8(outParameterInfo.name, sizeof outParameterInfo.name);
    outParameterInfo.cfNameString =
        CFStringCreateWithCString(kCFAllocatorDefault, name.toRawUTF8(), kCFStringEncodingUTF8);
    outParameterInfo.unit = kAudioUnitParameterUnit_Generic;
    outParameterInfo.minValue = 0.0f;
    outParameterInfo.maxValue = 1.0f;
    outParameterInfo.defaultValue = processor->getParameterDefaultValue(index);
    outParameterInfo.flags =
        kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable;
    if (outParameterInfo.cfNameString != nullptr)
        outParameterInfo.flags |=
            kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
    return noErr;
}

//==================================================================================================
void VeridaneAUWrapper::sendParameterEvent(AudioUnitEventType type, int index)
{
    if (index < 0 || index >= numParameters)
        return;
    AudioUnitEvent event{};
    event.mEventType = type;
    event.mArgument.mParameter = {mComponentInstance, AudioUnitParameterID(index),
                                  kAudioUnitScope_Global, 0};
    AUEventListenerNotify(nullptr, nullptr, &event);
}

void VeridaneAUWrapper::audioProcessorParameterChanged(juce::AudioProcessor*, int index,
                                                       float value)
{
    if (index < 0 || index >= numParameters)
        return;
    Globals().GetElement(0)->SetParameter(AudioUnitParameterID(index), value, true);
    sendParameterEvent(kAudioUnitEvent_ParameterValueChange, index);
}

void VeridaneAUWrapper::audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails& details)
{
    const int program = processor->getCurrentProgram();
    if (details.programChanged && program >= 0 && size_t(program) < presets.size() &&
        SetAFactoryPresetAsCurrent(presets[size_t(program)]))
        PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);
}

void VeridaneAUWrapper::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index)
{
    sendParameterEvent(kAudioUnitEvent_BeginParameterChangeGesture, index);
}

void VeridaneAUWrapper::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index)
{
    sendParameterEvent(kAudioUnitEvent_EndParameterChangeGesture, index);
}

} // namespace veridane::au

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
