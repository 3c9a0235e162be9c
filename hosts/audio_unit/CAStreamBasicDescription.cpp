#include "hosts/audio_unit/CAStreamBasicDescription.h"

#include <cstddef>
#include <cstring>

bool CAStreamBasicDescription::IsEqual(const AudioStreamBasicDescription& other, bool) const
{
    constexpr size_t kComparedBytes = offsetof(AudioStreamBasicDescription, mReserved);
    const auto& self = static_cast<const AudioStreamBasicDescription&>(*this);
    return std::memcmp(&self, &other, kComparedBytes) == 0;
}

CAStreamBasicDescription::CommonPCMFormat CAStreamBasicDescription::IdentifyCommonPCMFormat() const
{
    if (mFormatID != kAudioFormatLinearPCM || mFramesPerPacket != 1 ||
        mBytesPerFrame != mBytesPerPacket || mBitsPerChannel / 8 > mBytesPerFrame ||
        mChannelsPerFrame == 0)
        return kPCMFormatOther;

    UInt32 sampleBytes = mBytesPerFrame;
    if (IsInterleaved())
    {
        if (sampleBytes % mChannelsPerFrame != 0)
            return kPCMFormatOther;
        sampleBytes /= mChannelsPerFrame;
    }
    if ((mFormatFlags & kAudioFormatFlagIsBigEndian) != 0 ||
        UInt64(sampleBytes) * 8 != mBitsPerChannel)
        return kPCMFormatOther;

    constexpr AudioFormatFlags kFractionBitsMask = 0x1F80;
    const UInt32 fractionBits = (mFormatFlags >> 7) & 0x3F;
    if ((mFormatFlags & kAudioFormatFlagIsFloat) != 0)
    {
        if ((mFormatFlags & (kAudioFormatFlagIsSignedInteger | kFractionBitsMask)) != 0)
            return kPCMFormatOther;
        return sampleBytes == 4   ? kPCMFormatFloat32
               : sampleBytes == 8 ? kPCMFormatFloat64
                                  : kPCMFormatOther;
    }
    if ((mFormatFlags & kAudioFormatFlagIsSignedInteger) != 0)
    {
        if (sampleBytes == 4 && fractionBits == 24)
            return kPCMFormatFixed824;
        if (sampleBytes == 2 && fractionBits == 0)
            return kPCMFormatInt16;
    }
    return kPCMFormatOther;
}
