// A stream format with the few rules the layer reads from it. Exactly the platform record's
// fields and layout, so it converts to and from AudioStreamBasicDescription as a whole.
#pragma once

#include "platform/CoreAudioTypes.h"

class CAStreamBasicDescription : public AudioStreamBasicDescription
{
public:
    /** The sample formats an effect's kernels know how to process. */
    enum CommonPCMFormat : SInt32
    {
        kPCMFormatOther = 0,
        kPCMFormatFloat32 = 1,
        kPCMFormatInt16 = 2,
        kPCMFormatFixed824 = 3,
        kPCMFormatFloat64 = 4,
    };

    /** Every field 0, mReserved included. */
    CAStreamBasicDescription() : AudioStreamBasicDescription() {}
    CAStreamBasicDescription(const AudioStreamBasicDescription& desc)
        : AudioStreamBasicDescription(desc)
    {
    }

    /** The fields before mReserved compared byte for byte: 0.0 and -0.0 rates differ, two NaN
        rates with the same bits are equal. No caller asks for wildcards; interpreting them is
        not supported. */
    bool IsEqual(const AudioStreamBasicDescription& other, bool interpretingWildcards) const;

    bool IsInterleaved() const { return (mFormatFlags & kAudioFormatFlagIsNonInterleaved) == 0; }
    /** Buffers of an AudioBufferList in this format. */
    UInt32 NumberChannelStreams() const { return IsInterleaved() ? 1 : mChannelsPerFrame; }
    /** Channels carried by each of those buffers. */
    UInt32 NumberInterleavedChannels() const { return IsInterleaved() ? mChannelsPerFrame : 1; }

    /** Little-endian packed linear PCM of one frame per packet in one of the common sample
        formats, or kPCMFormatOther. */
    CommonPCMFormat IdentifyCommonPCMFormat() const;
};

static_assert(sizeof(CAStreamBasicDescription) == sizeof(AudioStreamBasicDescription));
