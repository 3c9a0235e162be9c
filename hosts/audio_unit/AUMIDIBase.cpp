#include "hosts/audio_unit/AUMIDIBase.h"

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/AUSelectorTable.h"
#include "hosts/audio_unit/ComponentParameterWords.h"

#include <cstring>

namespace
{
enum : UInt8
{
    kNoteOff = 0x80,
    kNoteOn = 0x90,
    kPolyPressure = 0xA0,
    kControlChange = 0xB0,
    kProgramChange = 0xC0,
    kChannelPressure = 0xD0,
    kPitchWheel = 0xE0,
};

enum : UInt8
{
    kAllSoundOff = 120,
    kResetAllControllers = 121,
    kAllNotesOff = 123,
};
} // namespace

OSStatus AUMIDIBase::MIDIEvent(UInt32 inStatus, UInt32 inData1, UInt32 inData2,
                               UInt32 inOffsetSampleFrame)
{
    return HandleMidiEvent(UInt8(inStatus & 0xF0), UInt8(inStatus & 0x0F), UInt8(inData1 & 0xFF),
                           UInt8(inData2 & 0xFF), inOffsetSampleFrame);
}

OSStatus AUMIDIBase::SysEx(const UInt8* inData, UInt32 inLength)
{
    if (!mAUBaseInstance.IsInitialized())
        return kAudioUnitErr_Uninitialized;
    if (inData == nullptr && inLength != 0)
        return kAudio_ParamError;
    return HandleSysEx(inData, inLength);
}

OSStatus AUMIDIBase::CheckNamesProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                        AudioUnitElement inElement)
{
    if (inID != kMusicDeviceProperty_MIDIXMLNames)
        return kAudioUnitErr_InvalidProperty;
    if (inScope != kAudioUnitScope_Global)
        return kAudioUnitErr_InvalidScope;
    if (inElement != 0)
        return kAudioUnitErr_InvalidElement;
    return noErr;
}

OSStatus AUMIDIBase::DelegateGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                             AudioUnitElement inElement, UInt32& outDataSize,
                                             bool& outWritable)
{
    if (const OSStatus result = CheckNamesProperty(inID, inScope, inElement); result != noErr)
        return result;
    if (GetXMLNames(nullptr) != noErr)
        return kAudioUnitErr_InvalidProperty;
    outDataSize = sizeof(CFURLRef);
    outWritable = false;
    return noErr;
}

OSStatus AUMIDIBase::DelegateGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement, void* outData)
{
    if (const OSStatus result = CheckNamesProperty(inID, inScope, inElement); result != noErr)
        return result;
    CFURLRef names = nullptr;
    const OSStatus result = GetXMLNames(&names);
    std::memcpy(outData, &names, sizeof names);
    return result;
}

OSStatus AUMIDIBase::HandleMidiEvent(UInt8 inStatus, UInt8 inChannel, UInt8 inData1, UInt8 inData2,
                                     UInt32 inStartFrame)
{
    if (!mAUBaseInstance.IsInitialized())
        return kAudioUnitErr_Uninitialized;
    switch (inStatus)
    {
    case kNoteOff:
        return HandleNoteOff(inChannel, inData1, inData2, inStartFrame);
    case kNoteOn:
        if (inData2 == 0)
            return HandleNoteOff(inChannel, inData1, 0, inStartFrame);
        return HandleNoteOn(inChannel, inData1, inData2, inStartFrame);
    default:
        return HandleNonNoteEvent(inStatus, inChannel, inData1, inData2, inStartFrame);
    }
}

OSStatus AUMIDIBase::HandleNonNoteEvent(UInt8 inStatus, UInt8 inChannel, UInt8 inData1,
                                        UInt8 inData2, UInt32 inStartFrame)
{
    switch (inStatus)
    {
    case kPolyPressure:
        return HandlePolyPressure(inChannel, inData1, inData2, inStartFrame);
    case kControlChange:
        switch (inData1)
        {
        case kAllSoundOff:
            return HandleAllSoundOff(inChannel);
        case kResetAllControllers:
            return HandleResetAllControllers(inChannel);
        case kAllNotesOff:
            return HandleAllNotesOff(inChannel);
        default:
            return HandleControlChange(inChannel, inData1, inData2, inStartFrame);
        }
    case kProgramChange:
        return HandleProgramChange(inChannel, inData1);
    case kChannelPressure:
        return HandleChannelPressure(inChannel, inData1, inStartFrame);
    case kPitchWheel:
        return HandlePitchWheel(inChannel, inData1, inData2, inStartFrame);
    default:
        return noErr;
    }
}

OSStatus AUMIDIBase::ComponentEntryDispatch(ComponentParameters* params, AUMIDIBase* This)
{
    if (params == nullptr || This == nullptr)
        return kAudio_ParamError;
    const SInt16 selector = params->what;
    if (selector != kMusicDeviceMIDIEventSelect && selector != kMusicDeviceSysExSelect)
        return badComponentSelector;
    if (!HoldsArguments(*params, FindAUSelector(selector)->argumentWords))
        return kAudio_ParamError;
    if (selector == kMusicDeviceSysExSelect)
        return This->SysEx(ParameterPointer<const UInt8*>(*params, 1), ParameterUInt32(*params, 2));
    return This->MIDIEvent(ParameterUInt32(*params, 1), ParameterUInt32(*params, 2),
                           ParameterUInt32(*params, 3), ParameterUInt32(*params, 4));
}
