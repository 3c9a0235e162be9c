// A host's property and render calls, shared by every road: the argument checks, the size query,
// and a truncated copy for a caller whose buffer is smaller than the value.
#include "hosts/audio_unit/AUBase.h"

#include "hosts/audio_unit/AUPropertyTable.h"

#include <cstring>
#include <vector>

namespace
{
/** A parameter's info hands the caller a name it must release when both flags say so. */
bool ReleaseParameterName(const AudioUnitParameterInfo& info)
{
    constexpr AudioUnitParameterOptions kOwnedName =
        kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
    if ((info.flags & kAudioUnitParameterFlag_HasCFNameString) == 0 || info.cfNameString == nullptr)
        return false;
    if ((info.flags & kOwnedName) == kOwnedName)
        CFRelease(info.cfNameString);
    return true;
}
} // namespace

OSStatus AUBase::GetPropertyForHost(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                    AudioUnitElement inElement, void* outData, UInt32* ioDataSize)
{
    if (ioDataSize == nullptr)
        return kAudio_ParamError;
    bool writable = false;
    if (outData == nullptr)
        return GetPropertyInfoForHost(inID, inScope, inElement, ioDataSize, nullptr);

    const UInt32 callerSize = *ioDataSize;
    if (callerSize == 0)
        return kAudio_ParamError;
    UInt32 realSize = 0;
    if (const OSStatus result =
            DispatchGetPropertyInfo(inID, inScope, inElement, realSize, writable);
        result != noErr)
        return result;

    if (callerSize >= realSize)
    {
        const OSStatus result = DispatchGetProperty(inID, inScope, inElement, outData);
        *ioDataSize = result == noErr ? realSize : 0;
        return result;
    }

    // Half a pointer would leak the object and hand the caller garbage.
    if (IsObjectValuedProperty(inID))
        return kAudio_ParamError;
    // Some properties read their question from the buffer: the caller's bytes first, the rest
    // zero.
    std::vector<Byte> whole(realSize, 0);
    std::memcpy(whole.data(), outData, callerSize);
    if (const OSStatus result = DispatchGetProperty(inID, inScope, inElement, whole.data());
        result != noErr)
    {
        *ioDataSize = 0;
        return result;
    }
    if (inID == kAudioUnitProperty_ParameterInfo && realSize >= sizeof(AudioUnitParameterInfo))
    {
        AudioUnitParameterInfo info;
        std::memcpy(&info, whole.data(), sizeof info);
        if (ReleaseParameterName(info))
            return kAudio_ParamError;
    }
    std::memcpy(outData, whole.data(), callerSize);
    return noErr;
}

OSStatus AUBase::GetPropertyInfoForHost(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                        AudioUnitElement inElement, UInt32* outDataSize,
                                        Boolean* outWritable)
{
    UInt32 size = 0;
    bool writable = false;
    // The outs get what the query left also when it throws (a missing element or scope).
    const auto writeOuts = [&]
    {
        if (outDataSize != nullptr)
            *outDataSize = size;
        if (outWritable != nullptr)
            *outWritable = writable;
    };
    try
    {
        const OSStatus result = DispatchGetPropertyInfo(inID, inScope, inElement, size, writable);
        writeOuts();
        return result;
    }
    catch (...)
    {
        writeOuts();
        throw;
    }
}

OSStatus AUBase::SetPropertyForHost(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                    AudioUnitElement inElement, const void* inData,
                                    UInt32 inDataSize)
{
    OSStatus result = kAudio_ParamError;
    if (inData != nullptr && inDataSize != 0)
        result = DispatchSetProperty(inID, inScope, inElement, inData, inDataSize);
    else if (inData == nullptr && inDataSize == 0)
        result = DispatchRemovePropertyValue(inID, inScope, inElement);
    // A set may have replaced what a render was using; once no render is, it goes.
    mRetirement.FreeRetired();
    return result;
}

OSStatus AUBase::RenderForHost(AudioUnitRenderActionFlags* ioActionFlags,
                               const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber,
                               UInt32 inNumberFrames, AudioBufferList* ioData)
{
    if (inTimeStamp == nullptr || ioData == nullptr)
        return kAudio_ParamError;
    AudioUnitRenderActionFlags noFlags = 0;
    return DoRender(ioActionFlags != nullptr ? *ioActionFlags : noFlags, *inTimeStamp, inBusNumber,
                    inNumberFrames, *ioData);
}
