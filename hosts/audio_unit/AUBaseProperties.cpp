// The property dispatch: the properties the base layer answers itself, with the scope, size and
// element rules of the property table, and everything else handed to the unit's virtual
// operations. Values are read from and written to the caller's memory byte-wise, whatever its
// alignment.
#include "hosts/audio_unit/AUBase.h"

#include "hosts/audio_unit/AUFastDispatch.h"
#include "hosts/audio_unit/AUInputElement.h"
#include "hosts/audio_unit/AUPropertyTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{
template <typename T> T ReadValue(const void* data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

template <typename T> void WriteValue(void* data, const T& value)
{
    std::memcpy(data, &value, sizeof value);
}

bool HasSize(AUSizeRule rule, UInt32 wanted, UInt32 given)
{
    switch (rule)
    {
    case AUSizeRule::exactly:
        return given == wanted;
    case AUSizeRule::atLeast:
        return given >= wanted;
    case AUSizeRule::none:
        break;
    }
    return true;
}
} // namespace

OSStatus AUBase::CheckElementExists(AudioUnitScope inScope, AudioUnitElement inElement)
{
    return GetScope(inScope).GetElement(inElement) != nullptr
               ? OSStatus(noErr)
               : OSStatus(kAudioUnitErr_InvalidElement);
}

bool AUBase::IsStreamFormatWritable(AudioUnitScope scope, AudioUnitElement element)
{
    switch (scope)
    {
    case kAudioUnitScope_Input:
        return !GetInput(element)->HasConnection() && StreamFormatWritable(scope, element);
    case kAudioUnitScope_Output:
        return StreamFormatWritable(scope, element);
    case kAudioUnitScope_Global:
        return StreamFormatWritable(kAudioUnitScope_Output, 0);
    default:
        return false;
    }
}

//==================================================================================================
// Get-info

OSStatus AUBase::DispatchGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement, UInt32& outDataSize,
                                         bool& outWritable)
{
    const AUPropertyRow* row = FindAUBaseProperty(inID);
    if (row == nullptr || (row->answers & kAnswersInfo) == 0)
        return GetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);

    if (inID == kAudioUnitProperty_SetRenderCallback && mAudioUnitAPIVersion < 2)
        return kAudioUnitErr_InvalidProperty;
    if (!IsScopeAllowed(row->infoScope, inScope))
        return kAudioUnitErr_InvalidScope;

    UInt32 size = row->infoSize;
    switch (inID)
    {
    case kAudioUnitProperty_ParameterList:
    {
        UInt32 count = 0;
        const OSStatus result = GetParameterList(inScope, nullptr, count);
        outDataSize = UInt32(sizeof(AudioUnitParameterID)) * count;
        outWritable = false;
        return result;
    }
    case kAudioUnitProperty_FastDispatch:
        if (mInstanceType != kComponentMgrInstance)
            return kAudioUnitErr_InvalidProperty;
        break;
    case kAudioUnitProperty_SupportedNumChannels:
    {
        const UInt32 count = SupportedNumChannels(nullptr);
        if (count == 0)
            return kAudioUnitErr_InvalidProperty;
        size = UInt32(sizeof(AUChannelInfo)) * count;
        break;
    }
    case kAudioUnitProperty_ParameterValueStrings:
        if (const OSStatus result = GetParameterValueStrings(inScope, inElement, nullptr);
            result != noErr)
            return result;
        break;
    case kAudioUnitProperty_GetUIComponentList:
    {
        const UInt32 count = GetNumCustomUIComponents();
        if (count == 0)
            return kAudioUnitErr_InvalidProperty;
        size = UInt32(sizeof(ComponentDescription)) * count;
        break;
    }
    case kAudioUnitProperty_AudioChannelLayout:
    {
        outWritable = false;
        outDataSize = GetAudioChannelLayout(inScope, inElement, nullptr, outWritable);
        if (outDataSize != 0)
            return noErr;
        return GetChannelLayoutTags(inScope, inElement, nullptr) != 0
                   ? OSStatus(kAudioUnitErr_InvalidPropertyValue)
                   : OSStatus(kAudioUnitErr_InvalidProperty);
    }
    case kAudioUnitProperty_TailTime:
        if (!SupportsTail())
            return kAudioUnitErr_InvalidProperty;
        break;
    case kAudioUnitProperty_FactoryPresets:
        if (const OSStatus result = GetPresets(nullptr); result != noErr)
            return result;
        break;
    case kAudioUnitProperty_SupportedChannelLayoutTags:
    {
        const UInt32 count = GetChannelLayoutTags(inScope, inElement, nullptr);
        if (count == 0)
            return kAudioUnitErr_InvalidProperty;
        size = UInt32(sizeof(AudioChannelLayoutTag)) * count;
        break;
    }
    case kAudioUnitProperty_IconLocation:
    {
        CFURLRef location = CopyIconLocation();
        if (location == nullptr)
            return kAudioUnitErr_InvalidProperty;
        CFRelease(location);
        break;
    }
    default:
        break;
    }

    outDataSize = size;
    switch (row->writable)
    {
    case AUWritableRule::no:
    case AUWritableRule::channelLayout:
        outWritable = false;
        break;
    case AUWritableRule::yes:
        outWritable = true;
        break;
    case AUWritableRule::streamFormat:
        outWritable = IsStreamFormatWritable(inScope, inElement);
        break;
    case AUWritableRule::busCount:
        outWritable = BusCountWritable(inScope);
        break;
    }
    return row->infoElementCheck ? CheckElementExists(inScope, inElement) : OSStatus(noErr);
}

//==================================================================================================
// Get

OSStatus AUBase::DispatchGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, void* outData)
{
    const AUPropertyRow* row = FindAUBaseProperty(inID);
    if (row == nullptr || (row->answers & kAnswersGet) == 0)
        return GetProperty(inID, inScope, inElement, outData);

    switch (inID)
    {
    case kAudioUnitProperty_ClassInfo:
    {
        WriteValue<CFPropertyListRef>(outData, nullptr);
        CFPropertyListRef state = nullptr;
        const OSStatus result = SaveState(&state);
        WriteValue(outData, state);
        return result;
    }
    case kAudioUnitProperty_SampleRate:
        WriteValue(outData, GetStreamFormat(inScope, inElement).mSampleRate);
        return noErr;
    case kAudioUnitProperty_ParameterList:
    {
        UInt32 count = 0;
        return GetParameterList(inScope, static_cast<AudioUnitParameterID*>(outData), count);
    }
    case kAudioUnitProperty_ParameterInfo:
    {
        AudioUnitParameterInfo info = ReadValue<AudioUnitParameterInfo>(outData);
        const OSStatus result = GetParameterInfo(inScope, inElement, info);
        WriteValue(outData, info);
        return result;
    }
    case kAudioUnitProperty_FastDispatch:
        if (mInstanceType != kComponentMgrInstance)
            return kAudioUnitErr_InvalidProperty;
        switch (inElement)
        {
        case kAudioUnitGetParameterSelect:
            WriteValue<AudioUnitGetParameterProc>(outData, CMgr_AudioUnitBaseGetParameter);
            return noErr;
        case kAudioUnitSetParameterSelect:
            WriteValue<AudioUnitSetParameterProc>(outData, CMgr_AudioUnitBaseSetParameter);
            return noErr;
        case kAudioUnitRenderSelect:
            if (mAudioUnitAPIVersion < 2)
                return kAudioUnitErr_InvalidElement;
            WriteValue<AudioUnitRenderProc>(outData, CMgr_AudioUnitBaseRender);
            return noErr;
        default:
            return GetProperty(inID, inScope, inElement, outData);
        }
    case kAudioUnitProperty_StreamFormat:
        WriteValue<AudioStreamBasicDescription>(outData, GetStreamFormat(inScope, inElement));
        return noErr;
    case kAudioUnitProperty_ElementCount:
        WriteValue(outData, GetScope(inScope).GetNumberOfElements());
        return noErr;
    case kAudioUnitProperty_Latency:
        WriteValue(outData, GetLatency());
        return noErr;
    case kAudioUnitProperty_SupportedNumChannels:
    {
        const AUChannelInfo* table = nullptr;
        const UInt32 count = SupportedNumChannels(&table);
        if (count != 0 && table != nullptr)
            std::memcpy(outData, table, sizeof(AUChannelInfo) * count);
        return noErr;
    }
    case kAudioUnitProperty_MaximumFramesPerSlice:
        WriteValue(outData, GetMaxFramesPerSlice());
        return noErr;
    case kAudioUnitProperty_ParameterValueStrings:
    {
        CFArrayRef strings = nullptr;
        const OSStatus result = GetParameterValueStrings(inScope, inElement, &strings);
        WriteValue(outData, strings);
        return result;
    }
    case kAudioUnitProperty_GetUIComponentList:
        GetUIComponentDescs(static_cast<ComponentDescription*>(outData));
        return noErr;
    case kAudioUnitProperty_AudioChannelLayout:
    {
        bool writable = false;
        return GetAudioChannelLayout(inScope, inElement, static_cast<AudioChannelLayout*>(outData),
                                     writable) != 0
                   ? OSStatus(noErr)
                   : OSStatus(kAudioUnitErr_InvalidProperty);
    }
    case kAudioUnitProperty_TailTime:
        if (!SupportsTail())
            return kAudioUnitErr_InvalidProperty;
        WriteValue(outData, GetTailTime());
        return noErr;
    case kAudioUnitProperty_LastRenderError:
        WriteValue(outData, mLastRenderError.exchange(noErr));
        return noErr;
    case kAudioUnitProperty_FactoryPresets:
    {
        WriteValue<CFArrayRef>(outData, nullptr);
        CFArrayRef presets = nullptr;
        const OSStatus result = GetPresets(&presets);
        WriteValue(outData, presets);
        return result;
    }
    case kAudioUnitProperty_ContextName:
        if (mContextName == nullptr)
            return kAudioUnitErr_InvalidPropertyValue;
        WriteValue(outData, static_cast<CFStringRef>(CFRetain(mContextName)));
        return noErr;
    case kAudioUnitProperty_HostCallbacks:
        WriteValue(outData, mHostCallbackInfo);
        return noErr;
    case kAudioUnitProperty_ElementName:
    {
        CFStringRef name = GetElement(inScope, inElement)->GetName();
        if (name == nullptr)
            return kAudioUnitErr_InvalidPropertyValue;
        WriteValue(outData, static_cast<CFStringRef>(CFRetain(name)));
        return noErr;
    }
    case kAudioUnitProperty_SupportedChannelLayoutTags:
        return GetChannelLayoutTags(inScope, inElement,
                                    static_cast<AudioChannelLayoutTag*>(outData)) != 0
                   ? OSStatus(noErr)
                   : OSStatus(kAudioUnitErr_InvalidProperty);
    case kAudioUnitProperty_ParameterClumpName:
    {
        auto info = ReadValue<AudioUnitParameterNameInfo>(outData);
        if (info.inID == kAudioUnitClumpID_System)
            return kAudioUnitErr_InvalidPropertyValue;
        const OSStatus result =
            CopyClumpName(inScope, info.inID, UInt32(info.inDesiredLength), &info.outName);
        if (result == kAudioUnitErr_InvalidProperty)
            return GetProperty(inID, inScope, inElement, outData);
        WriteValue(outData, info);
        return result;
    }
    case kAudioUnitProperty_PresentPreset:
        WriteValue(outData, mCurrentPreset.CopyRetained());
        return noErr;
    case kAudioUnitProperty_IconLocation:
    {
        CFURLRef location = CopyIconLocation();
        if (location == nullptr)
            return kAudioUnitErr_InvalidProperty;
        WriteValue(outData, location);
        return noErr;
    }
    case kAudioUnitProperty_ShouldAllocateBuffer:
        WriteValue(outData, UInt32(GetIOElement(inScope, inElement)->WillAllocateBuffer()));
        return noErr;
    case kAudioUnitProperty_ParameterHistoryInfo:
    {
        AudioUnitParameterHistoryInfo info{};
        const OSStatus result = GetParameterHistoryInfo(inScope, inElement, info.updatesPerSecond,
                                                        info.historyDurationInSeconds);
        WriteValue(outData, info);
        return result;
    }
    case kAUBaseProperty_LastRenderSampleTime:
        WriteValue(outData, CurrentRenderSampleTime());
        return noErr;
    default:
        return GetProperty(inID, inScope, inElement, outData);
    }
}

//==================================================================================================
// Set

OSStatus AUBase::DispatchSetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, const void* inData,
                                     UInt32 inDataSize)
{
    const AUPropertyRow* row = FindAUBaseProperty(inID);
    if (row == nullptr || (row->answers & kAnswersSet) == 0)
    {
        const OSStatus result = SetProperty(inID, inScope, inElement, inData, inDataSize);
        if (result == noErr)
            PropertyChanged(inID, inScope, inElement);
        return result;
    }

    const auto checkPlace = [&]() -> OSStatus
    {
        if (!IsScopeAllowed(row->setScope, inScope))
            return kAudioUnitErr_InvalidScope;
        return row->setElementCheck ? CheckElementExists(inScope, inElement) : OSStatus(noErr);
    };
    if (row->placeBeforeSize)
        if (const OSStatus result = checkPlace(); result != noErr)
            return result;
    if (!HasSize(row->setSizeRule, row->setSize, inDataSize))
        return kAudioUnitErr_InvalidPropertyValue;
    if (!row->placeBeforeSize)
        if (const OSStatus result = checkPlace(); result != noErr)
            return result;

    switch (inID)
    {
    case kAudioUnitProperty_ClassInfo:
        return RestoreState(ReadValue<CFPropertyListRef>(inData));
    case kAudioUnitProperty_MakeConnection:
        return SetConnection(ReadValue<AudioUnitConnection>(inData));
    case kAudioUnitProperty_SampleRate:
    {
        CAStreamBasicDescription format = GetStreamFormat(inScope, inElement);
        format.mSampleRate = ReadValue<Float64>(inData);
        return SetStreamFormatProperty(inScope, inElement, format);
    }
    case kAudioUnitProperty_StreamFormat:
    {
        // The fields before the reserved word; a host may leave the word out.
        AudioStreamBasicDescription format{};
        std::memcpy(&format, inData, offsetof(AudioStreamBasicDescription, mReserved));
        return SetStreamFormatProperty(inScope, inElement, format);
    }
    case kAudioUnitProperty_ElementCount:
    {
        if (!BusCountWritable(inScope))
            return kAudioUnitErr_PropertyNotWritable;
        if (const OSStatus result = SetBusCount(inScope, ReadValue<UInt32>(inData));
            result != noErr)
            return result;
        PropertyChanged(inID, inScope, inElement);
        return noErr;
    }
    case kAudioUnitProperty_MaximumFramesPerSlice:
        if (const OSStatus result = CanSetMaxFrames(); result != noErr)
            return result;
        SetMaxFramesPerSlice(ReadValue<UInt32>(inData));
        return noErr;
    case kAudioUnitProperty_SetExternalBuffer:
        return SetExternalBuffer(inScope, inElement, ReadValue<AudioUnitExternalBuffer>(inData));
    case kAudioUnitProperty_AudioChannelLayout:
    {
        // The description count is read only once the header is known to be there.
        const auto descriptions =
            ReadValue<UInt32>(static_cast<const Byte*>(inData) +
                              offsetof(AudioChannelLayout, mNumberChannelDescriptions));
        // Counted in 64 bits, so no count wraps the size round.
        if (inDataSize < AudioChannelLayoutBytes(descriptions))
            return kAudioUnitErr_InvalidPropertyValue;
        if (const OSStatus result = SetAudioChannelLayout(
                inScope, inElement, static_cast<const AudioChannelLayout*>(inData));
            result != noErr)
            return result;
        PropertyChanged(inID, inScope, inElement);
        return noErr;
    }
    case kAudioUnitProperty_SetRenderCallback:
    {
        if (mAudioUnitAPIVersion < 2)
            return kAudioUnitErr_InvalidProperty;
        const auto callback = ReadValue<AURenderCallbackStruct>(inData);
        return SetInputCallback(inID, inElement, callback.inputProc, callback.inputProcRefCon);
    }
    case kAudioUnitProperty_ContextName:
    {
        const auto name = ReadValue<CFStringRef>(inData);
        if (name != nullptr)
            CFRetain(name);
        if (mContextName != nullptr)
            CFRelease(mContextName);
        mContextName = name;
        PropertyChanged(inID, kAudioUnitScope_Global, inElement);
        return noErr;
    }
    case kAudioUnitProperty_HostCallbacks:
        return SetHostCallbacks(inElement, inData, inDataSize);
    case kAudioUnitProperty_ElementName:
        GetElement(inScope, inElement)->SetName(ReadValue<CFStringRef>(inData));
        PropertyChanged(inID, inScope, inElement);
        return noErr;
    case kAudioUnitProperty_PresentPreset:
        return SetPresentPreset(inElement, ReadValue<AUPreset>(inData));
    case kAudioUnitProperty_ShouldAllocateBuffer:
        if (IsInitialized())
            return kAudioUnitErr_Initialized;
        GetIOElement(inScope, inElement)->SetWillAllocateBuffer(ReadValue<UInt32>(inData) != 0);
        return noErr;
    default:
        return kAudioUnitErr_InvalidProperty;
    }
}

OSStatus AUBase::SetStreamFormatProperty(AudioUnitScope inScope, AudioUnitElement inElement,
                                         const CAStreamBasicDescription& inNewFormat)
{
    if (!ValidFormat(inScope, inElement, inNewFormat))
        return kAudioUnitErr_FormatNotSupported;
    // A copy: the change below overwrites what the reference points at.
    const CAStreamBasicDescription current = GetStreamFormat(inScope, inElement);
    if (current.IsEqual(inNewFormat, false))
        return noErr;
    if (!IsStreamFormatWritable(inScope, inElement))
        return kAudioUnitErr_PropertyNotWritable;
    return ChangeStreamFormat(inScope, inElement, current, inNewFormat);
}

OSStatus AUBase::SetHostCallbacks(AudioUnitElement inElement, const void* inData, UInt32 inDataSize)
{
    const size_t given = std::min<size_t>(inDataSize, sizeof mHostCallbackInfo);
    const bool changed = std::memcmp(&mHostCallbackInfo, inData, given) != 0;
    mHostCallbackInfo = HostCallbackInfo{};
    std::memcpy(&mHostCallbackInfo, inData, given);
    if (changed)
        PropertyChanged(kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, inElement);
    return noErr;
}

OSStatus AUBase::SetPresentPreset(AudioUnitElement inElement, const AUPreset& inPreset)
{
    OSStatus result;
    if (inPreset.presetNumber >= 0)
        result = NewFactoryPresetSet(inPreset);
    else if (inPreset.presetName == nullptr)
        return kAudioUnitErr_InvalidPropertyValue;
    else
        result = NewCustomPresetSet(inPreset);
    if (result == noErr)
        PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, inElement);
    return result;
}

OSStatus AUBase::SetExternalBuffer(AudioUnitScope inScope, AudioUnitElement inElement,
                                   const AudioUnitExternalBuffer& inBuffer)
{
    if (!IsInitialized())
        return kAudioUnitErr_Uninitialized;
    if (reinterpret_cast<uintptr_t>(inBuffer.buffer) % 16 != 0)
        return kAudio_ParamError;
    const AudioUnitScope busScope =
        inScope == kAudioUnitScope_Input ? kAudioUnitScope_Input : kAudioUnitScope_Output;
    GetIOElement(busScope, inElement)->UseExternalBuffer(inBuffer);
    return noErr;
}

//==================================================================================================
// Remove

OSStatus AUBase::DispatchRemovePropertyValue(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                             AudioUnitElement inElement)
{
    switch (inID)
    {
    case kAudioUnitProperty_HostCallbacks:
    {
        if (inScope != kAudioUnitScope_Global)
            return kAudioUnitErr_InvalidScope;
        static constexpr HostCallbackInfo kNone{};
        if (std::memcmp(&mHostCallbackInfo, &kNone, sizeof kNone) != 0)
        {
            mHostCallbackInfo = kNone;
            PropertyChanged(inID, kAudioUnitScope_Global, inElement);
        }
        return noErr;
    }
    case kAudioUnitProperty_ContextName:
        if (mContextName != nullptr)
            CFRelease(mContextName);
        mContextName = nullptr;
        return noErr;
    case kAudioUnitProperty_AudioChannelLayout:
        if (const OSStatus result = RemoveAudioChannelLayout(inScope, inElement); result != noErr)
            return result;
        PropertyChanged(inID, inScope, inElement);
        return noErr;
    default:
        return RemovePropertyValue(inID, inScope, inElement);
    }
}

//==================================================================================================
// The unit's own defaults

OSStatus AUBase::GetPropertyInfo(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, UInt32&,
                                 bool&)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, void*)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::SetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, const void*,
                             UInt32)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::RemovePropertyValue(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
{
    return kAudioUnitErr_InvalidPropertyValue;
}

//==================================================================================================
// Listeners

OSStatus AUBase::AddPropertyListener(AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc,
                                     void* inProcRefCon)
{
    if (inProc == nullptr)
        return kAudio_ParamError;
    mPropertyListeners.Add({inID, inProc, inProcRefCon});
    return noErr;
}

OSStatus AUBase::RemovePropertyListener(AudioUnitPropertyID inID,
                                        AudioUnitPropertyListenerProc inProc, void* inProcRefCon,
                                        bool refConSpecified)
{
    mPropertyListeners.Remove(inID, inProc, inProcRefCon, refConSpecified);
    return noErr;
}

void AUBase::PropertyChanged(AudioUnitPropertyID inID, AudioUnitScope inScope,
                             AudioUnitElement inElement)
{
    mPropertyListeners.Notify(mComponentInstance, inID, inScope, inElement);
}
