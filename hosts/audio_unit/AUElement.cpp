#include "hosts/audio_unit/AUElement.h"

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/AUSavedParameters.h"
#include "hosts/audio_unit/AUStatus.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

void ParameterMapEvent::SetValue(AudioUnitParameterValue value)
{
    mEventType = kParameterEvent_Immediate;
    mValue1 = value;
    mValue2 = value;
}

void ParameterMapEvent::SetScheduledEvent(const AudioUnitParameterEvent& event, UInt32 sliceOffset,
                                          UInt32 sliceFrames)
{
    mEventType = event.eventType;
    mSliceDurationFrames = sliceFrames;
    if (event.eventType == kParameterEvent_Immediate)
    {
        // The immediate event's own offset only chose the slice; within it the value holds
        // from the start.
        mValue1 = event.eventValues.immediate.value;
        mValue2 = event.eventValues.immediate.value;
        mDurationInFrames = sliceFrames;
        mBufferOffset = 0;
        return;
    }
    // A ramp that began before the slice has a negative offset. Computed wide, so that no
    // offset overflows; the ends of the 32-bit range stand for anything beyond them.
    const int64_t offset = int64_t(event.eventValues.ramp.startBufferOffset) - int64_t(sliceOffset);
    mBufferOffset = SInt32(std::clamp<int64_t>(offset, INT32_MIN, INT32_MAX));
    mDurationInFrames = event.eventValues.ramp.durationInFrames;
    mValue1 = event.eventValues.ramp.startValue;
    mValue2 = event.eventValues.ramp.endValue;
}

//==================================================================================================

AUElement::AUElement(AUBase& audioUnit) : mAudioUnit(audioUnit) {}

AUElement::~AUElement()
{
    if (mElementName != nullptr)
        CFRelease(mElementName);
}

UInt32 AUElement::GetNumberOfParameters()
{
    return UInt32(mUseIndexedParameters ? mIndexedParameters.size() : mParameters.size());
}

void AUElement::GetParameterList(AudioUnitParameterID* outList)
{
    // The host's buffer may sit at any address: the ids go in byte by byte.
    auto* bytes = reinterpret_cast<Byte*>(outList);
    const auto put = [&](AudioUnitParameterID id)
    {
        std::memcpy(bytes, &id, sizeof id);
        bytes += sizeof id;
    };
    if (mUseIndexedParameters)
    {
        for (UInt32 i = 0; i < mIndexedParameters.size(); ++i)
            put(i);
        return;
    }
    for (const auto& [paramID, slot] : mParameters)
        put(paramID);
}

void AUElement::UseIndexedParameters(SInt32 numberOfParameters)
{
    mIndexedParameters.resize(size_t(std::max<SInt32>(numberOfParameters, 0)));
    mUseIndexedParameters = true;
}

AudioUnitParameterValue AUElement::GetParameter(AudioUnitParameterID paramID) const
{
    if (mUseIndexedParameters)
    {
        if (paramID >= mIndexedParameters.size())
            ThrowStatus(kAudioUnitErr_InvalidParameter);
        return mIndexedParameters[paramID].mValue1;
    }
    const auto found = mParameters.find(paramID);
    if (found == mParameters.end())
        ThrowStatus(kAudioUnitErr_InvalidParameter);
    return found->second.mValue1;
}

ParameterMapEvent* AUElement::SlotToSet(AudioUnitParameterID paramID, bool okWhenInitialized)
{
    if (mUseIndexedParameters)
    {
        if (paramID >= mIndexedParameters.size())
            ThrowStatus(kAudioUnitErr_InvalidParameter);
        return &mIndexedParameters[paramID];
    }
    const auto found = mParameters.find(paramID);
    if (found != mParameters.end())
        return &found->second;
    // A render may be reading the map: while initialised it only grows when the caller says so.
    if (mAudioUnit.IsInitialized() && !okWhenInitialized)
        return nullptr;
    return &mParameters[paramID];
}

void AUElement::SetParameter(AudioUnitParameterID paramID, AudioUnitParameterValue value,
                             bool okWhenInitialized)
{
    if (auto* slot = SlotToSet(paramID, okWhenInitialized))
        slot->SetValue(value);
}

void AUElement::SetScheduledEvent(AudioUnitParameterID paramID,
                                  const AudioUnitParameterEvent& event, UInt32 sliceOffsetInBuffer,
                                  UInt32 sliceDurationFrames, bool okWhenInitialized)
{
    if (auto* slot = SlotToSet(paramID, okWhenInitialized))
        slot->SetScheduledEvent(event, sliceOffsetInBuffer, sliceDurationFrames);
}

void AUElement::SaveState(CFMutableDataRef data)
{
    AppendBigEndianWords(data, {GetNumberOfParameters()});
    if (mUseIndexedParameters)
    {
        for (UInt32 i = 0; i < mIndexedParameters.size(); ++i)
            AppendBigEndianWords(
                data, {i, std::bit_cast<UInt32>(Float32(mIndexedParameters[i].mValue1))});
        return;
    }
    for (const auto& [paramID, slot] : mParameters)
        AppendBigEndianWords(data, {paramID, std::bit_cast<UInt32>(Float32(slot.mValue1))});
}

void AUElement::SetName(CFStringRef inName)
{
    if (inName != nullptr)
        CFRetain(inName);
    if (mElementName != nullptr)
        CFRelease(mElementName);
    mElementName = inName;
}
