// A unit with nothing of its own beyond AUBase, whose lifecycle flags a test sets directly and
// whose initialise and render a test scripts, and the formats, listener log, host buffers and
// CoreFoundation helpers the Audio Unit tests share.
#pragma once

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/AUInputElement.h"

#include "tests/support/CountingAllocator.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
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

    OSStatus Initialize() override
    {
        ++initializeCalls;
        return initializeResult;
    }
    void Cleanup() override { ++cleanupCalls; }
    OSStatus Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& time,
                    UInt32 frames) override
    {
        ++renderCalls;
        return render ? render(flags, time, frames) : noErr;
    }

    void SetAPIVersion(UInt8 version) { mAudioUnitAPIVersion = version; }
    void UseFixedBlockSize(bool fixed) { mUsesFixedBlockSize = fixed; }
    void InstallMutex(CAMutex* mutex) { mAUMutex = mutex; }
    ParameterEventList& ScheduledEvents() { return mParamList; }

    bool canSchedule = false;
    OSStatus initializeResult = noErr;
    int initializeCalls = 0;
    int cleanupCalls = 0;
    int renderCalls = 0;
    std::function<OSStatus(AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32)> render;
};

inline AudioUnitParameterEvent Immediate(UInt32 offset, Float32 value, AudioUnitParameterID id = 0)
{
    AudioUnitParameterEvent event{};
    event.parameter = id;
    event.eventType = kParameterEvent_Immediate;
    event.eventValues.immediate = {offset, value};
    return event;
}

inline AudioUnitParameterEvent Ramp(SInt32 start, UInt32 duration, Float32 from, Float32 to,
                                    AudioUnitParameterID id = 0)
{
    AudioUnitParameterEvent event{};
    event.parameter = id;
    event.eventType = kParameterEvent_Ramped;
    event.eventValues.ramp = {start, duration, from, to};
    return event;
}

/** Every call a listener got, in order. */
struct ListenerCall
{
    void* refCon;
    AudioUnit unit;
    AudioUnitPropertyID id;
    AudioUnitScope scope;
    AudioUnitElement element;
    bool operator==(const ListenerCall&) const = default;
};

struct ListenerLog
{
    std::vector<ListenerCall> calls;

    /** The listener function; its user data is a ListenerLog. */
    static void Listen(void* refCon, AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope,
                       AudioUnitElement element)
    {
        static_cast<ListenerLog*>(refCon)->calls.push_back({refCon, unit, id, scope, element});
    }
    /** Listens to the ids on the unit. */
    void Attach(AUBase& unit, std::initializer_list<AudioUnitPropertyID> ids)
    {
        for (const auto id : ids)
            unit.AddPropertyListener(id, Listen, this);
    }
    size_t CountOf(AudioUnitPropertyID id) const
    {
        size_t count = 0;
        for (const auto& call : calls)
            count += call.id == id ? 1 : 0;
        return count;
    }
};

/** A host's buffer list of non-interleaved float channels, its own memory or null pointers. */
class HostBuffers
{
public:
    HostBuffers(UInt32 channels, UInt32 frames, bool withMemory = true)
        : mSamples(channels, std::vector<float>(frames, -9.0f)),
          mStorage(AudioBufferListBytes(channels) / sizeof(AudioBuffer) + 1)
    {
        list().mNumberBuffers = channels;
        for (UInt32 c = 0; c < channels; ++c)
            list().mBuffers[c] = {1, UInt32(frames * sizeof(float)),
                                  withMemory ? mSamples[c].data() : nullptr};
    }
    AudioBufferList& list() { return *reinterpret_cast<AudioBufferList*>(mStorage.data()); }
    float* channel(UInt32 c) { return static_cast<float*>(list().mBuffers[c].mData); }
    std::vector<float>& memory(UInt32 c) { return mSamples[c]; }

private:
    std::vector<std::vector<float>> mSamples;
    std::vector<AudioBuffer> mStorage;
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

/** With the counting allocator: each allocation the CoreFoundation stand-in makes in a save fails
    in turn (the stand-in then answers null or drops the addition, as the platform does); each such
    save answers memFullErr, hands out nothing and leaves nothing alive. Answers their number. */
template <typename Save> int FailEachCoreFoundationAllocation(Save&& save)
{
    for (int skipped = 0;; ++skipped)
    {
        SCOPED_TRACE(testing::Message() << "allocation " << skipped);
        const CFIndex live = VeridaneCFGetLiveObjectCount();
        veridane::test::failAllocationFromLibrary("libveridane_corefoundation", skipped);
        CFPropertyListRef saved = nullptr;
        const OSStatus answer = save(&saved);
        const bool failed = veridane::test::stopFailingAllocation();
        EXPECT_EQ(answer, failed ? memFullErr : noErr);
        EXPECT_EQ(saved == nullptr, failed);
        if (saved != nullptr)
            CFRelease(saved);
        EXPECT_EQ(VeridaneCFGetLiveObjectCount(), live);
        if (!failed)
            return skipped;
    }
}

} // namespace autest
