// The elements of the input and output scopes: a stream format and a buffer for the bus, and
// the channel-layout hooks a unit class may replace.
//
// Host threads change the format and the buffers while a render may run: the format is one
// record behind one pointer, and a render pins the format and the buffers it found at its start.
#pragma once

#include "hosts/audio_unit/AUBufferList.h"
#include "hosts/audio_unit/AUElement.h"
#include "hosts/audio_unit/AURetirement.h"
#include "hosts/audio_unit/CAStreamBasicDescription.h"

#include <atomic>

class AUIOElement : public AUElement
{
public:
    /** Starts with 2 channels of 32-bit float at 44100 Hz, interleaved for a unit that speaks
        the first API version, non-interleaved otherwise. */
    explicit AUIOElement(AUBase& audioUnit);
    ~AUIOElement() override;

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

    /** The present format, on any thread; valid until a host call changes it again. */
    const CAStreamBasicDescription& GetStreamFormat() const { return mStreamFormat.load()->value; }
    /** Render path: the format the render pinned, or else the present one. */
    const CAStreamBasicDescription& RenderStreamFormat() const
    {
        return mPinnedFormat != nullptr ? mPinnedFormat->value : GetStreamFormat();
    }
    AUBufferList& IOBuffer() { return mIOBuffer; }
    bool WillAllocateBuffer() const { return mWillAllocate.load(std::memory_order_relaxed); }
    void SetWillAllocateBuffer(bool willAllocate)
    {
        mWillAllocate.store(willAllocate, std::memory_order_relaxed);
    }

    AudioBufferList& PrepareBuffer(UInt32 frames)
    {
        return mIOBuffer.PrepareBuffer(RenderStreamFormat(), frames);
    }
    AudioBufferList& GetBufferList() const { return mIOBuffer.GetBufferList(); }
    void UseExternalBuffer(const AudioUnitExternalBuffer& buffer)
    {
        mIOBuffer.UseExternalBuffer(GetStreamFormat(), buffer);
    }

    /** Render thread: from its construction to its end the render uses the bus's format and
        buffers as they are at the construction, whatever a host thread changes meanwhile. A bus
        that an enclosing render pinned stays as that render found it. */
    class RenderPin
    {
    public:
        RenderPin() = default;
        ~RenderPin()
        {
            if (mBus != nullptr)
            {
                mBus->mIOBuffer.UnpinAfterRender();
                mBus->mPinnedFormat = nullptr;
            }
        }
        void Pin(AUIOElement& bus) noexcept
        {
            if (bus.mPinnedFormat != nullptr)
                return;
            bus.mPinnedFormat = bus.mStreamFormat.load();
            bus.mIOBuffer.PinForRender();
            mBus = &bus;
        }

        RenderPin(const RenderPin&) = delete;
        RenderPin& operator=(const RenderPin&) = delete;

    private:
        AUIOElement* mBus = nullptr;
    };

protected:
    using FormatRecord = AURetirableValue<CAStreamBasicDescription>;

    std::atomic<FormatRecord*> mStreamFormat;
    AUBufferList mIOBuffer;
    std::atomic<bool> mWillAllocate{true};

private:
    const FormatRecord* mPinnedFormat = nullptr;
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
