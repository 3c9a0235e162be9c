// Parameters one at a time, the parameter list, and scheduled parameter events: kept for the
// coming render and applied slice by slice, each slice ending at the next event boundary.
#include "hosts/audio_unit/AUBase.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace
{
/** The buffer offset of an immediate event and the start of a ramp share one word: the sort
    key, read as signed. */
SInt32 OffsetOf(const AudioUnitParameterEvent& event)
{
    SInt32 offset;
    std::memcpy(&offset, &event.eventValues, sizeof offset);
    return offset;
}

/** Where a ramp ends, with the wrap of 32-bit arithmetic. */
SInt32 RampEnd(const AudioUnitParameterEvent& event)
{
    return SInt32(UInt32(OffsetOf(event)) + event.eventValues.ramp.durationInFrames);
}

bool IsRamp(const AudioUnitParameterEvent& event)
{
    return event.eventType == kParameterEvent_Ramped;
}

/** The smallest of the frame count, every event offset after the slice start and every ramp
    end after it; the list is sorted. */
SInt64 SliceEnd(const AUBase::ParameterEventList& events, SInt64 sliceStart, SInt64 frames)
{
    SInt64 end = frames;
    for (const AudioUnitParameterEvent& event : events)
    {
        const SInt64 offset = OffsetOf(event);
        if (offset > sliceStart && offset < end)
            return offset;
        if (IsRamp(event))
        {
            const SInt64 rampEnd = RampEnd(event);
            if (rampEnd > sliceStart && rampEnd < end)
                end = rampEnd;
        }
    }
    return end;
}

bool AppliesToSlice(const AudioUnitParameterEvent& event, SInt64 sliceStart, SInt64 sliceEnd)
{
    if (IsRamp(event))
        return OffsetOf(event) < sliceEnd && UInt32(RampEnd(event)) > UInt32(sliceStart);
    return UInt32(OffsetOf(event)) <= UInt32(sliceStart);
}
} // namespace

OSStatus AUBase::GetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, AudioUnitParameterValue& outValue)
{
    outValue = GetElement(inScope, inElement)->GetParameter(inID);
    return noErr;
}

OSStatus AUBase::SetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, AudioUnitParameterValue inValue, UInt32)
{
    GetElement(inScope, inElement)->SetParameter(inID, inValue, false);
    return noErr;
}

OSStatus AUBase::ScheduleParameter(const AudioUnitParameterEvent* inParameterEvent,
                                   UInt32 inNumEvents)
{
    if (inParameterEvent == nullptr && inNumEvents != 0)
        return kAudio_ParamError;
    const bool canSchedule = CanScheduleParameters();
    for (UInt32 i = 0; i < inNumEvents; ++i)
    {
        const AudioUnitParameterEvent& event = inParameterEvent[i];
        if (event.eventType == kParameterEvent_Immediate)
            (void)SetParameter(event.parameter, event.scope, event.element,
                               event.eventValues.immediate.value,
                               event.eventValues.immediate.bufferOffset);
        if (canSchedule)
            mParamList.push_back(event);
    }
    return noErr;
}

OSStatus AUBase::ProcessForScheduledParams(ParameterEventList& inParamList,
                                           UInt32 inFramesToProcess, void* inUserData)
{
    std::sort(inParamList.begin(), inParamList.end(),
              [](const AudioUnitParameterEvent& a, const AudioUnitParameterEvent& b)
              { return OffsetOf(a) < OffsetOf(b); });

    const SInt64 frames = inFramesToProcess;
    for (SInt64 sliceStart = 0; sliceStart < frames;)
    {
        const SInt64 sliceEnd = SliceEnd(inParamList, sliceStart, frames);
        const auto sliceFrames = UInt32(sliceEnd - sliceStart);
        for (const AudioUnitParameterEvent& event : inParamList)
        {
            if (!AppliesToSlice(event, sliceStart, sliceEnd))
                continue;
            if (AUElement* element = GetScope(event.scope).GetElement(event.element))
                element->SetScheduledEvent(event.parameter, event, UInt32(sliceStart), sliceFrames,
                                           false);
        }
        if (const OSStatus result = ProcessScheduledSlice(inUserData, UInt32(sliceStart),
                                                          sliceFrames, inFramesToProcess);
            result != noErr)
            return result;
        sliceStart = sliceEnd;
    }
    return noErr;
}

OSStatus AUBase::GetParameterList(AudioUnitScope inScope, AudioUnitParameterID* outParameterList,
                                  UInt32& outNumParameters)
{
    AUScope& scope = GetScope(inScope);
    AUElement* widest = nullptr;
    UInt32 most = 0;
    for (UInt32 i = 0; i < scope.GetNumberOfElements(); ++i)
    {
        AUElement* element = scope.GetElement(i);
        if (element == nullptr)
            continue;
        if (const UInt32 count = element->GetNumberOfParameters(); count > most)
        {
            most = count;
            widest = element;
        }
    }
    if (outParameterList != nullptr && widest != nullptr)
        widest->GetParameterList(outParameterList);
    outNumParameters = most;
    return noErr;
}

OSStatus AUBase::GetParameterInfo(AudioUnitScope, AudioUnitParameterID, AudioUnitParameterInfo&)
{
    return kAudioUnitErr_InvalidParameter;
}

OSStatus AUBase::GetParameterHistoryInfo(AudioUnitScope, AudioUnitParameterID, Float32&, Float32&)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetParameterValueStrings(AudioUnitScope, AudioUnitParameterID, CFArrayRef*)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::CopyClumpName(AudioUnitScope, UInt32, UInt32, CFStringRef*)
{
    return kAudioUnitErr_InvalidProperty;
}
