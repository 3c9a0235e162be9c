// The platform's audio records: stream formats, buffer lists, time stamps and channel layouts,
// with the exact field layouts that hosts and units exchange (checked below), and the format
// constants the Audio Unit layer tests.
#pragma once

#include "platform/MacTypes.h"

#include <cstddef>

typedef UInt32 AudioFormatID;
typedef UInt32 AudioFormatFlags;
typedef UInt32 AudioChannelLabel;
typedef UInt32 AudioChannelFlags;
typedef UInt32 AudioChannelBitmap;
typedef UInt32 AudioChannelLayoutTag;

enum : OSStatus
{
    kAudio_UnimplementedError = -4,
    kAudio_ParamError = -50,
};

constexpr AudioFormatID kAudioFormatLinearPCM = MakeFourCharCode('l', 'p', 'c', 'm');

enum : AudioFormatFlags
{
    kAudioFormatFlagIsFloat = 0x1,
    kAudioFormatFlagIsBigEndian = 0x2,
    kAudioFormatFlagIsSignedInteger = 0x4,
    kAudioFormatFlagIsPacked = 0x8,
    kAudioFormatFlagIsNonInterleaved = 0x20,
    /** Bits 7 to 12: the number of fraction bits of a fixed-point sample. */
    kLinearPCMFormatFlagsSampleFractionMask = 0x1F80,
    kLinearPCMFormatFlagsSampleFractionShift = 7,
};

enum : AudioChannelLayoutTag
{
    kAudioChannelLayoutTag_UseChannelDescriptions = 0,
    kAudioChannelLayoutTag_UseChannelBitmap = 0x10000,
};

/** One stream format. The first 36 bytes are the fields before mReserved. */
struct AudioStreamBasicDescription
{
    Float64 mSampleRate;
    AudioFormatID mFormatID;
    AudioFormatFlags mFormatFlags;
    UInt32 mBytesPerPacket;
    UInt32 mFramesPerPacket;
    UInt32 mBytesPerFrame;
    UInt32 mChannelsPerFrame;
    UInt32 mBitsPerChannel;
    UInt32 mReserved;
};

struct AudioBuffer
{
    UInt32 mNumberChannels;
    UInt32 mDataByteSize;
    void* mData;
};

/** A count followed by that many buffers: 8 + 16 n bytes. */
struct AudioBufferList
{
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[1];
};

constexpr size_t AudioBufferListBytes(UInt32 numberBuffers)
{
    return offsetof(AudioBufferList, mBuffers) + size_t(numberBuffers) * sizeof(AudioBuffer);
}

struct SMPTETime
{
    SInt16 mSubframes;
    SInt16 mSubframeDivisor;
    UInt32 mCounter;
    UInt32 mType;
    UInt32 mFlags;
    SInt16 mHours;
    SInt16 mMinutes;
    SInt16 mSeconds;
    SInt16 mFrames;
};

struct AudioTimeStamp
{
    Float64 mSampleTime;
    UInt64 mHostTime;
    Float64 mRateScalar;
    UInt64 mWordClockTime;
    SMPTETime mSMPTETime;
    UInt32 mFlags;
    UInt32 mReserved;
};

struct AudioChannelDescription
{
    AudioChannelLabel mChannelLabel;
    AudioChannelFlags mChannelFlags;
    Float32 mCoordinates[3];
};

/** A tag, a bitmap and a count followed by that many descriptions: 12 + 20 n bytes. */
struct AudioChannelLayout
{
    AudioChannelLayoutTag mChannelLayoutTag;
    AudioChannelBitmap mChannelBitmap;
    UInt32 mNumberChannelDescriptions;
    AudioChannelDescription mChannelDescriptions[1];
};

constexpr size_t AudioChannelLayoutBytes(UInt32 numberDescriptions)
{
    return offsetof(AudioChannelLayout, mChannelDescriptions) +
           size_t(numberDescriptions) * sizeof(AudioChannelDescription);
}

static_assert(sizeof(AudioStreamBasicDescription) == 40);
static_assert(offsetof(AudioStreamBasicDescription, mBitsPerChannel) == 32);
static_assert(offsetof(AudioStreamBasicDescription, mReserved) == 36);
static_assert(sizeof(AudioBuffer) == 16);
static_assert(offsetof(AudioBuffer, mData) == 8);
static_assert(AudioBufferListBytes(0) == 8 && AudioBufferListBytes(3) == 56);
static_assert(sizeof(SMPTETime) == 24);
static_assert(sizeof(AudioTimeStamp) == 64);
static_assert(offsetof(AudioTimeStamp, mSMPTETime) == 32);
static_assert(offsetof(AudioTimeStamp, mFlags) == 56);
static_assert(sizeof(AudioChannelDescription) == 20);
static_assert(AudioChannelLayoutBytes(0) == 12 && AudioChannelLayoutBytes(2) == 52);
