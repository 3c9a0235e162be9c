#include "hosts/audio_unit/AUFastDispatch.h"

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/AUEntryCatch.h"

#include <type_traits>

// The functions' types leave no other way to say which unit is meant.
static_assert(std::is_same_v<decltype(&CMgr_AudioUnitBaseGetParameter), AudioUnitGetParameterProc>);
static_assert(std::is_same_v<decltype(&CMgr_AudioUnitBaseSetParameter), AudioUnitSetParameterProc>);
static_assert(std::is_same_v<decltype(&CMgr_AudioUnitBaseRender), AudioUnitRenderProc>);

OSStatus CMgr_AudioUnitBaseGetParameter(void* This, AudioUnitParameterID inID,
                                        AudioUnitScope inScope, AudioUnitElement inElement,
                                        AudioUnitParameterValue* outValue)
{
    if (This == nullptr || outValue == nullptr)
        return kAudio_ParamError;
    return AUEntryCatch(
        [&]
        { return static_cast<AUBase*>(This)->GetParameter(inID, inScope, inElement, *outValue); });
}

OSStatus CMgr_AudioUnitBaseSetParameter(void* This, AudioUnitParameterID inID,
                                        AudioUnitScope inScope, AudioUnitElement inElement,
                                        AudioUnitParameterValue inValue,
                                        UInt32 inBufferOffsetInFrames)
{
    if (This == nullptr)
        return kAudio_ParamError;
    return AUEntryCatch(
        [&]
        {
            return static_cast<AUBase*>(This)->SetParameter(inID, inScope, inElement, inValue,
                                                            inBufferOffsetInFrames);
        });
}

OSStatus CMgr_AudioUnitBaseRender(void* This, AudioUnitRenderActionFlags* ioActionFlags,
                                  const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber,
                                  UInt32 inNumberFrames, AudioBufferList* ioData)
{
    if (This == nullptr)
        return kAudio_ParamError;
    return AUEntryCatch(
        [&]
        {
            return static_cast<AUBase*>(This)->RenderForHost(ioActionFlags, inTimeStamp,
                                                             inBusNumber, inNumberFrames, ioData);
        });
}
