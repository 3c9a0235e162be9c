// A unit with nothing of its own beyond AUBase, whose lifecycle flags a test sets directly, and
// the formats and CoreFoundation helpers the Audio Unit tests share.
#pragma once

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/AUInputElement.h"

#include <memory>
#include <string>
#include <vector>

namespace autest
{

class TestUnit : public AUBase
{
public:
    explicit TestUnit(UInt32 inputs = 1, UInt32 outputs = 1, UInt8 apiVersion = 2,
                      AudioComponentInstance instance = nullptr)
        : AUBase(instance, inputs, outputs)
    {
        mAudioUnitAPIVersion = apiVersion;
        CreateElements();
    }

    /** As initialisation does before it allocates the buses' buffers. */
    void BeginInitializing(UInt32 maxFrames = kDefaultMaxFramesPerSlice)
    {
        mMaxFramesPerSlice = maxFrames;
        mHasBegunInitializing = true;
    }
    void SetInitialized(bool initialized) { mInitialized = initialized; }

    bool CanScheduleParameters() const override { return canSchedule; }
    /** As an effect answers: only while not initialised. */
    bool StreamFormatWritable(AudioUnitScope, AudioUnitElement) override
    {
        return !IsInitialized();
    }

    bool canSchedule = false;
};

/** 32-bit float at 44100 Hz, one buffer per channel or all channels in one. */
inline CAStreamBasicDescription FloatFormat(UInt32 channels, bool interleaved = false)
{
    CAStreamBasicDescription format;
    format.mSampleRate = 44100.0;
    format.mFormatID = kAudioFormatLinearPCM;
    format.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked |
                          (interleaved ? 0u : AudioFormatFlags(kAudioFormatFlagIsNonInterleaved));
    format.mBytesPerFrame = interleaved ? 4 * channels : 4;
    format.mBytesPerPacket = format.mBytesPerFrame;
    format.mFramesPerPacket = 1;
    format.mChannelsPerFrame = channels;
    format.mBitsPerChannel = 32;
    return format;
}

/** The status an action throws, or noErr. */
template <typename Action> OSStatus StatusOf(Action&& action)
{
    try
    {
        action();
        return noErr;
    }
    catch (OSStatus status)
    {
        return status;
    }
}

/** Owns one reference to a CoreFoundation object. */
template <typename Ref> struct Owned
{
    explicit Owned(Ref object = nullptr) : ref(object) {}
    ~Owned()
    {
        if (ref != nullptr)
            CFRelease(ref);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Ref get() const { return ref; }
    Ref ref;
};

inline CFStringRef MakeString(const std::string& text)
{
    return CFStringCreateWithCString(kCFAllocatorDefault, text.c_str(), kCFStringEncodingUTF8);
}

inline std::string TextOf(CFTypeRef string)
{
    char text[256] = {};
    if (string == nullptr || !CFStringGetCString(static_cast<CFStringRef>(string), text,
                                                 sizeof text, kCFStringEncodingUTF8))
        return "<none>";
    return text;
}

inline std::vector<UInt8> BytesOf(CFDataRef data)
{
    const UInt8* bytes = CFDataGetBytePtr(data);
    return std::vector<UInt8>(bytes, bytes + CFDataGetLength(data));
}

} // namespace autest
