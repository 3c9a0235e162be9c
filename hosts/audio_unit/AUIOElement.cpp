#include "hosts/audio_unit/AUIOElement.h"

#include "hosts/audio_unit/AUBase.h"

AUIOElement::AUIOElement(AUBase& audioUnit) : AUElement(audioUnit)
{
    const bool interleaved = audioUnit.AudioUnitAPIVersion() == 1;
    constexpr UInt32 kChannels = 2;
    constexpr UInt32 kSampleBytes = 4;
    const UInt32 frameBytes = interleaved ? kChannels * kSampleBytes : kSampleBytes;

    mStreamFormat.mSampleRate = 44100.0;
    mStreamFormat.mFormatID = kAudioFormatLinearPCM;
    mStreamFormat.mFormatFlags =
        kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked |
        (interleaved ? 0u : AudioFormatFlags(kAudioFormatFlagIsNonInterleaved));
    mStreamFormat.mBytesPerPacket = frameBytes;
    mStreamFormat.mFramesPerPacket = 1;
    mStreamFormat.mBytesPerFrame = frameBytes;
    mStreamFormat.mChannelsPerFrame = kChannels;
    mStreamFormat.mBitsPerChannel = 8 * kSampleBytes;
}

OSStatus AUIOElement::SetStreamFormat(const CAStreamBasicDescription& format)
{
    mStreamFormat = format;
    return noErr;
}

void AUIOElement::AllocateBuffer(UInt32 inFramesToAllocate)
{
    if (!mAudioUnit.HasBegunInitializing())
        return;
    const UInt32 frames =
        inFramesToAllocate != 0 ? inFramesToAllocate : mAudioUnit.GetMaxFramesPerSlice();
    mIOBuffer.Allocate(mStreamFormat, mWillAllocate && NeedsBufferSpace() ? frames : 0);
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
