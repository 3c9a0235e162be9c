// The elements of the input and output scopes: a stream format and a buffer for the bus, and
// the channel-layout hooks a unit class may replace.
#pragma once

#include "hosts/audio_unit/AUBufferList.h"
#include "hosts/audio_unit/AUElement.h"
#include "hosts/audio_unit/CAStreamBasicDescription.h"

class AUIOElement : public AUElement
{
public:
    /** Starts with 2 channels of 32-bit float at 44100 Hz, interleaved for a unit that speaks
        the first API version, non-interleaved otherwise. */
    explicit AUIOElement(AUBase& audioUnit);

    AUIOElement* AsIOElement() override { return this; }

    virtual OSStatus SetStreamFormat(const CAStreamBasicDescription& format);
    /** Nothing until the unit has begun initialising. 0 frames means the unit's maximum. */
    virtual void AllocateBuffer(UInt32 inFramesToAllocate = 0);
    /** Whether the bus keeps samples of its own. */
    virtual bool NeedsBufferSpace() const = 0;

    virtual UInt32 GetChannelLayoutTags(AudioChannelLayoutTag* outLayoutTags);
    /** The layout's size in bytes, 0 for none. */
    virtual UInt32 GetAudioChannelLayout(AudioChannelLayout* outLayout, Boolean& outWritable);
    virtual OSStatus SetAudioChannelLayout(const AudioChannelLayout& layout);
    virtual OSStatus RemoveAudioChannelLayout();

    void DeallocateBuffer() { mIOBuffer.Deallocate(); }

    const CAStreamBasicDescription& GetStreamFormat() const { return mStreamFormat; }
    AUBufferList& IOBuffer() { return mIOBuffer; }
    bool WillAllocateBuffer() const { return mWillAllocate; }
    void SetWillAllocateBuffer(bool willAllocate) { mWillAllocate = willAllocate; }

    AudioBufferList& PrepareBuffer(UInt32 frames)
    {
        return mIOBuffer.PrepareBuffer(mStreamFormat, frames);
    }
    AudioBufferList& GetBufferList() const { return mIOBuffer.GetBufferList(); }
    void UseExternalBuffer(const AudioUnitExternalBuffer& buffer)
    {
        mIOBuffer.UseExternalBuffer(mStreamFormat, buffer);
    }

protected:
    CAStreamBasicDescription mStreamFormat;
    AUBufferList mIOBuffer;
    bool mWillAllocate = true;
};

/** An output bus; it always keeps samples of its own. */
class AUOutputElement : public AUIOElement
{
public:
    /** Allocates at once when the unit has begun initialising. */
    explicit AUOutputElement(AUBase& audioUnit);

    OSStatus SetStreamFormat(const CAStreamBasicDescription& format) override;
    bool NeedsBufferSpace() const override { return true; }
};
