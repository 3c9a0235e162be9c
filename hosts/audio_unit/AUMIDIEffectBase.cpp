#include "hosts/audio_unit/AUMIDIEffectBase.h"

#include "hosts/audio_unit/AUEntryCatch.h"

#include <cstring>
#include <type_traits>

static_assert(std::is_same_v<decltype(&AUMIDIEffectBaseMIDIEvent), MusicDeviceMIDIEventProc>);

AUMIDIEffectBase::AUMIDIEffectBase(AudioComponentInstance inInstance, bool inProcessesInPlace)
    : AUEffectBase(inInstance, inProcessesInPlace), AUMIDIBase(static_cast<AUBase&>(*this))
{
}

OSStatus AUMIDIEffectBase::GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                           AudioUnitElement inElement, UInt32& outDataSize,
                                           bool& outWritable)
{
    const OSStatus result =
        AUEffectBase::GetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);
    if (result != kAudioUnitErr_InvalidProperty)
        return result;
    return AUMIDIBase::DelegateGetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);
}

OSStatus AUMIDIEffectBase::GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                       AudioUnitElement inElement, void* outData)
{
    // The dispatch answers the fast-dispatch elements of the Audio Unit selectors itself.
    if (inID == kAudioUnitProperty_FastDispatch)
    {
        if (inElement != kMusicDeviceMIDIEventSelect)
            return kAudioUnitErr_InvalidElement;
        const MusicDeviceMIDIEventProc function = AUMIDIEffectBaseMIDIEvent;
        std::memcpy(outData, &function, sizeof function);
        return noErr;
    }
    const OSStatus result = AUEffectBase::GetProperty(inID, inScope, inElement, outData);
    if (result != kAudioUnitErr_InvalidProperty)
        return result;
    return AUMIDIBase::DelegateGetProperty(inID, inScope, inElement, outData);
}

OSStatus AUMIDIEffectBase::SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                       AudioUnitElement inElement, const void* inData,
                                       UInt32 inDataSize)
{
    const OSStatus result = AUEffectBase::SetProperty(inID, inScope, inElement, inData, inDataSize);
    if (result != kAudioUnitErr_InvalidProperty)
        return result;
    return AUMIDIBase::DelegateSetProperty(inID, inScope, inElement, inData, inDataSize);
}

OSStatus AUMIDIEffectBase::MIDIEvent(UInt32 inStatus, UInt32 inData1, UInt32 inData2,
                                     UInt32 inOffsetSampleFrame)
{
    return AUMIDIBase::MIDIEvent(inStatus, inData1, inData2, inOffsetSampleFrame);
}

OSStatus AUMIDIEffectBase::SysEx(const UInt8* inData, UInt32 inLength)
{
    return AUMIDIBase::SysEx(inData, inLength);
}

OSStatus AUMIDIEffectBase::ComponentEntryDispatch(ComponentParameters* params,
                                                  AUMIDIEffectBase* This)
{
    if (params == nullptr || This == nullptr)
        return kAudio_ParamError;
    switch (params->what)
    {
    case kMusicDeviceMIDIEventSelect:
    case kMusicDeviceSysExSelect:
        return AUMIDIBase::ComponentEntryDispatch(params, This);
    default:
        return AUBase::ComponentEntryDispatch(params, This);
    }
}

OSStatus AUMIDIEffectBaseMIDIEvent(void* inComponentStorage, UInt32 inStatus, UInt32 inData1,
                                   UInt32 inData2, UInt32 inOffsetSampleFrame)
{
    if (inComponentStorage == nullptr)
        return kAudio_ParamError;
    auto& unit = static_cast<AUMIDIEffectBase&>(*static_cast<AUBase*>(inComponentStorage));
    return AUEntryCatch(
        [&]
        {
            return static_cast<AUMIDIBase&>(unit).HandleMidiEvent(
                UInt8(inStatus & 0xF0), UInt8(inStatus & 0x0F), UInt8(inData1 & 0xFF),
                UInt8(inData2 & 0xFF), inOffsetSampleFrame);
        });
}
