#include "hosts/audio_unit/AUIOElement.h"

#include "hosts/audio_unit/AUBase.h"

namespace
{
CAStreamBasicDescription DefaultFormat(UInt8 apiVersion)
{
    const bool interleaved = apiVersion == 1;
    constexpr UInt32 kChannels = 2;
    constexpr UInt32 kSampleBytes = 4;
    const UInt32 frameBytes = interleaved ? kChannels * kSampleBytes : kSampleBytes;

    CAStreamBasicDescription format;
    format.mSampleRate = 44100.0;
    format.mFormatID = kAudioFormatLinearPCM;
    format.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked |
                          (interleaved ? 0u : AudioFormatFlags(kAudioFormatFlagIsNonInterleaved));
    format.mBytesPerPacket = frameBytes;
    format.mFramesPerPacket = 1;
    format.mBytesPerFrame = frameBytes;
    format.mChannelsPerFrame = kChannels;
    format.mBitsPerChannel = 8 * kSampleBytes;
    return format;
}
} // namespace

AUIOElement::AUIOElement(AUBase& audioUnit)
    : AUElement(audioUnit),
      mStreamFormat(new FormatRecord(DefaultFormat(audioUnit.AudioUnitAPIVersion()))),
      mIOBuffer(&audioUnit.GetRetirement())
{
}

AUIOElement::~AUIOElement()
{
    delete mStreamFormat.load();
}

OSStatus AUIOElement::SetStreamFormat(const CAStreamBasicDescription& format)
{
    // A render that pinned the old format keeps it until the render is over.
    mAudioUnit.GetRetirement().Retire(mStreamFormat.exchange(new FormatRecord(format)));
    return noErr;
}

void AUIOElement::AllocateBuffer(UInt32 inFramesToAllocate)
{
    if (!mAudioUnit.HasBegunInitializing())
        return;
    const UInt32 frames =
        inFramesToAllocate != 0 ? inFramesToAllocate : mAudioUnit.GetMaxFramesPerSlice();
    mIOBuffer.Allocate(GetStreamFormat(), WillAllocateBuffer() && NeedsBufferSpace() ? frames : 0);
}

UInt32 AUIOElement::GetChannelLayoutTags(AudioChannelLayoutTag*)
{
    return 0;
}

UInt32 AUIOElement::GetAudioChannelLayout(AudioChannelLayout*, Boolean&)
{
    return 0;
}

OSStatus AUIOElement::SetAudioChannelLayout(const AudioChannelLayout&)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUIOElement::RemoveAudioChannelLayout()
{
    return kAudioUnitErr_InvalidPropertyValue;
}

//==================================================================================================

AUOutputElement::AUOutputElement(AUBase& audioUnit) : AUIOElement(audioUnit)
{
    AllocateBuffer();
}

OSStatus AUOutputElement::SetStreamFormat(const CAStreamBasicDescription& format)
{
    const OSStatus result = AUIOElement::SetStreamFormat(format);
    if (result == noErr)
        AllocateBuffer();
    return result;
}
