// One element of a scope: its parameter values (kept by id in a map, or by index once the
// element is switched to indexed parameters), its optional name, and its share of the saved
// parameter records.
#pragma once

#include "platform/AudioUnitTypes.h"

#include <atomic>
#include <map>
#include <vector>

class AUBase;
class AUIOElement;

/** A value a host thread and the audio thread both read and write: a relaxed atomic, that copies
    as a plain value, so that the slots holding them keep living in vectors and maps. */
template <typename T> class AURelaxedAtomic
{
public:
    AURelaxedAtomic(T value = T()) noexcept : mValue(value) {}
    AURelaxedAtomic(const AURelaxedAtomic& other) noexcept : mValue(T(other)) {}
    AURelaxedAtomic& operator=(const AURelaxedAtomic& other) noexcept { return *this = T(other); }
    AURelaxedAtomic& operator=(T value) noexcept
    {
        mValue.store(value, std::memory_order_relaxed);
        return *this;
    }
    operator T() const noexcept { return mValue.load(std::memory_order_relaxed); }

private:
    std::atomic<T> mValue;
};

/** The stored state of one parameter: a plain value or a ramp scheduled for a slice. The host's
    parameter calls, the render's scheduled events and the saved state's reading of the values
    may come on different threads. */
struct ParameterMapEvent
{
    AURelaxedAtomic<AUParameterEventType> mEventType = kParameterEvent_Immediate;
    /** A ramp's start relative to the start of the current slice; 0 for a plain value. */
    AURelaxedAtomic<SInt32> mBufferOffset = 0;
    AURelaxedAtomic<UInt32> mDurationInFrames = 0;
    AURelaxedAtomic<AudioUnitParameterValue> mValue1 = 0.0f;
    AURelaxedAtomic<AudioUnitParameterValue> mValue2 = 0.0f;
    AURelaxedAtomic<UInt32> mSliceDurationFrames = 0;

    ParameterMapEvent() = default;
    explicit ParameterMapEvent(AudioUnitParameterValue value) : mValue1(value), mValue2(value) {}

    void SetValue(AudioUnitParameterValue value);
    /** Takes an event scheduled into the slice that starts at sliceOffset frames into the
        buffer and lasts sliceFrames. */
    void SetScheduledEvent(const AudioUnitParameterEvent& event, UInt32 sliceOffset,
                           UInt32 sliceFrames);
};

class AUElement
{
public:
    explicit AUElement(AUBase& audioUnit);
    virtual ~AUElement();

    virtual UInt32 GetNumberOfParameters();
    /** Writes the ids in ascending order; outList has room for GetNumberOfParameters and may
        sit at any address. */
    virtual void GetParameterList(AudioUnitParameterID* outList);
    /** Switches to indexed parameters with this many slots, keeping the values of the slots
        that remain. */
    virtual void UseIndexedParameters(SInt32 numberOfParameters);
    virtual AUIOElement* AsIOElement() { return nullptr; }

    /** Throws kAudioUnitErr_InvalidParameter for a parameter the element does not hold. */
    AudioUnitParameterValue GetParameter(AudioUnitParameterID paramID) const;
    /** While the unit is initialised, a map-mode element drops a new id unless
        okWhenInitialized; an indexed element throws kAudioUnitErr_InvalidParameter for an id
        past its slots. */
    void SetParameter(AudioUnitParameterID paramID, AudioUnitParameterValue value,
                      bool okWhenInitialized = false);
    /** Finds or makes the slot as SetParameter does, then fills it from the event. */
    void SetScheduledEvent(AudioUnitParameterID paramID, const AudioUnitParameterEvent& event,
                           UInt32 sliceOffsetInBuffer, UInt32 sliceDurationFrames,
                           bool okWhenInitialized = false);

    /** Appends the parameter count and the (id, value bits) pairs of this element's record. */
    void SaveState(CFMutableDataRef data);

    CFStringRef GetName() const { return mElementName; }
    /** Retains the new name (null clears it) and releases the old one. */
    void SetName(CFStringRef inName);
    bool HasName() const { return mElementName != nullptr; }

    AUBase& GetAudioUnit() const { return mAudioUnit; }

    AUElement(const AUElement&) = delete;
    AUElement& operator=(const AUElement&) = delete;

protected:
    AUBase& mAudioUnit;
    std::map<AudioUnitParameterID, ParameterMapEvent> mParameters;
    bool mUseIndexedParameters = false;
    std::vector<ParameterMapEvent> mIndexedParameters;
    CFStringRef mElementName = nullptr;

private:
    /** The slot of an id, made when allowed; null when a map-mode set is to be dropped. */
    ParameterMapEvent* SlotToSet(AudioUnitParameterID paramID, bool okWhenInitialized);
};
