#include "hosts/audio_unit/AURenderLog.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <string>
#include <xmmintrin.h>

using namespace autest;

namespace
{
constexpr UInt32 kFrames = 16;
constexpr unsigned kFlushBits = 0x8040;

std::vector<std::string> gLogLines;
std::int64_t gNow = 0;

/** Captures the log and sets the clock for one test. */
struct InjectedLog
{
    InjectedLog()
    {
        gLogLines.clear();
        AURenderLog::SetSink([](int priority, const char* line)
                             { gLogLines.push_back(std::to_string(priority) + " " + line); });
        AURenderLog::SetClock([] { return gNow; });
    }
    ~InjectedLog()
    {
        AURenderLog::SetSink(nullptr);
        AURenderLog::SetClock(nullptr);
    }
};

/** Renders sample i of buffer b as 1000 b + i + the sample time. */
OSStatus RenderRamp(TestUnit& unit, const AudioTimeStamp& time, UInt32 frames)
{
    const AudioBufferList& out = unit.GetOutput(0)->GetBufferList();
    for (UInt32 b = 0; b < out.mNumberBuffers; ++b)
        for (UInt32 i = 0; i < frames; ++i)
            static_cast<float*>(out.mBuffers[b].mData)[i] =
                Float32(1000 * b + i + time.mSampleTime);
    return noErr;
}

OSStatus Render(TestUnit& unit, HostBuffers& buffers, UInt32 frames = kFrames, UInt32 bus = 0,
                Float64 sampleTime = 0.0, AudioUnitRenderActionFlags flags = 0)
{
    AudioTimeStamp time{};
    time.mSampleTime = sampleTime;
    return unit.DoRender(flags, time, bus, frames, buffers.list());
}

OSStatus ReadLastRenderError(TestUnit& unit)
{
    OSStatus error = 0;
    unit.DispatchGetProperty(kAudioUnitProperty_LastRenderError, 0, 0, &error);
    return error;
}
} // namespace

TEST(RenderChecks, EachRefusalAnswersItsCodeRecordsItAndRestoresTheControlWord)
{
    using Setup = std::function<void(TestUnit&, HostBuffers&)>;
    struct Row
    {
        const char* name;
        Setup setup;
        UInt32 frames;
        UInt32 bus;
        OSStatus expected;
        bool recorded;
    };
    const auto throwing = [](auto value)
    {
        return [value](TestUnit& u, HostBuffers&)
        { u.render = [value](auto&, auto&, UInt32) -> OSStatus { throw value; }; };
    };
    const Setup none = [](TestUnit&, HostBuffers&) {};
    // clang-format off
    const Row rows[] = {
        {"not initialised", [](TestUnit& u, HostBuffers&) { u.DoCleanup(); }, kFrames, 0,
         kAudioUnitErr_Uninitialized, true},
        {"API version 1", [](TestUnit& u, HostBuffers&) { u.SetAPIVersion(1); }, kFrames, 0,
         kAudio_ParamError, true},
        {"too many frames", none, 1157, 0, kAudioUnitErr_TooManyFramesToProcess, true},
        {"a fixed block size missed", [](TestUnit& u, HostBuffers&) { u.UseFixedBlockSize(true); },
         kFrames, 0, kAudio_ParamError, true},
        {"no such bus", none, kFrames, 1, kAudioUnitErr_InvalidElement, true},
        {"one buffer for two channels", [](TestUnit&, HostBuffers& b) { b.list().mNumberBuffers = 1; },
         kFrames, 0, kAudio_ParamError, true},
        {"a buffer too small", [](TestUnit&, HostBuffers& b) { b.list().mBuffers[1].mDataByteSize = 60; },
         kFrames, 0, kAudio_ParamError, true},
        {"a null buffer after a real one",
         [](TestUnit&, HostBuffers& b) { b.list().mBuffers[1].mData = nullptr; }, kFrames, 0,
         kAudio_ParamError, true},
        {"null buffers on a bus that keeps no memory",
         [](TestUnit& u, HostBuffers& b) {
             u.GetOutput(0)->SetWillAllocateBuffer(false);
             b.list().mBuffers[0].mData = b.list().mBuffers[1].mData = nullptr; },
         kFrames, 0, kAudioUnitErr_InvalidPropertyValue, true},
        {"a new output bus without channels: no list to prepare",
         [](TestUnit& u, HostBuffers& b) {
             u.DoCleanup();
             u.Outputs().SetNumberOfElements(0);
             u.Outputs().SetNumberOfElements(1);
             const AudioStreamBasicDescription none = FloatFormat(0);
             u.DispatchSetProperty(kAudioUnitProperty_StreamFormat, 2, 0, &none, 40);
             u.DoInitialize();
             b.list().mNumberBuffers = 0; },
         kFrames, 0, -1, true},
        {"a render nested in its own at another time", [](TestUnit& u, HostBuffers& b) {
             u.render = [&u, &b](auto& flags, const AudioTimeStamp& time, UInt32 frames) {
                 AudioTimeStamp later = time;
                 later.mSampleTime += frames;
                 return u.DoRender(flags, later, 0, frames, b.list()); }; },
         kFrames, 0, -1, true},
        {"a render that throws a status", throwing(OSStatus(-10863)), kFrames, 0, -10863, true},
        {"a render that throws 0", throwing(OSStatus(0)), kFrames, 0, noErr, false},
        {"a render out of memory", throwing(std::bad_alloc()), kFrames, 0, -1, true},
        {"a failing render without notifications",
         [](TestUnit& u, HostBuffers&) { u.render = [](auto&, auto&, UInt32) { return OSStatus(-4); }; },
         kFrames, 0, -4, false},
    };
    // clang-format on
    InjectedLog log;
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        TestUnit unit;
        unit.DoInitialize();
        ListenerLog listener;
        listener.Attach(unit, {kAudioUnitProperty_LastRenderError});
        HostBuffers buffers(2, kFrames);
        row.setup(unit, buffers);
        const unsigned before = _mm_getcsr();
        EXPECT_EQ(Render(unit, buffers, row.frames, row.bus), row.expected);
        EXPECT_EQ(_mm_getcsr(), before);
        EXPECT_EQ(listener.calls.size(), row.recorded ? 1u : 0u);
        EXPECT_EQ(ReadLastRenderError(unit), row.recorded ? row.expected : noErr);
    }

    // The first error stays until it is read, without a second notice.
    TestUnit unit;
    ListenerLog listener;
    listener.Attach(unit, {kAudioUnitProperty_LastRenderError});
    HostBuffers buffers(2, kFrames);
    Render(unit, buffers);
    unit.DoInitialize();
    Render(unit, buffers, 1, 5);
    EXPECT_EQ(listener.calls.size(), 1u);
    EXPECT_EQ(ReadLastRenderError(unit), kAudioUnitErr_Uninitialized);
}

TEST(RenderChecks, TooManyFramesLogsOneLinePerSecondOfTheClock)
{
    InjectedLog log;
    TestUnit unit;
    unit.DoInitialize();
    HostBuffers buffers(2, 2000);
    for (const std::int64_t second : {500, 500, 500, 501, 501, 503})
    {
        gNow = second;
        EXPECT_EQ(Render(unit, buffers, 1157), kAudioUnitErr_TooManyFramesToProcess);
    }
    const std::string line =
        "3 kAudioUnitErr_TooManyFramesToProcess : inFramesToProcess=1157, mMaxFramesPerSlice=1156";
    EXPECT_EQ(gLogLines, (std::vector<std::string>{line, line, line}));
}

TEST(RenderChoreography, FillsTheCallersMemoryOrLendsItsOwnAndRendersEachSampleTimeOnce)
{
    struct Row
    {
        const char* name;
        bool callerMemory;
        UInt32 callerBytes;
        std::vector<Float64> sampleTimes;
        int renders;
        Float32 lastFirstSample;
        /** Of the renders after the first. */
        UInt32 laterFrames = kFrames;
    };
    // clang-format off
    const Row rows[] = {
        {"caller's memory", true, kFrames * 4, {0.0}, 1, 0.0f},
        {"caller's memory, larger buffers trimmed", true, 4096, {0.0}, 1, 0.0f},
        {"null buffers point at the unit's memory", false, kFrames * 4, {0.0}, 1, 0.0f},
        {"a repeated sample time renders nothing", true, kFrames * 4, {64.0, 64.0}, 1, -9.0f},
        {"a new sample time renders again", false, kFrames * 4, {64.0, 80.0}, 2, 80.0f},
        {"a repeated sample time with more frames: zeros past the first", false, kFrames * 4,
         {64.0, 64.0}, 1, 64.0f, 2 * kFrames},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        TestUnit unit;
        unit.DoInitialize();
        unsigned controlWordInside = 0;
        unit.render = [&](auto&, const AudioTimeStamp& time, UInt32 frames)
        {
            controlWordInside = _mm_getcsr();
            return RenderRamp(unit, time, frames);
        };
        HostBuffers buffers(2, 1024, row.callerMemory);
        for (UInt32 b = 0; b < 2; ++b)
            buffers.list().mBuffers[b].mDataByteSize = row.callerBytes;
        for (size_t i = 0; i < row.sampleTimes.size(); ++i)
        {
            if (i == 1 && row.callerMemory)
                buffers.memory(0)[0] = buffers.memory(1)[0] = -9.0f;
            // A host that asks for the unit's memory asks each time.
            for (UInt32 b = 0; b < 2 && !row.callerMemory; ++b)
                buffers.list().mBuffers[b].mData = nullptr;
            EXPECT_EQ(
                Render(unit, buffers, i == 0 ? kFrames : row.laterFrames, 0, row.sampleTimes[i]),
                noErr);
        }
        EXPECT_EQ(unit.renderCalls, row.renders);
        EXPECT_EQ(controlWordInside & kFlushBits, kFlushBits);
        EXPECT_EQ(unit.CurrentRenderSampleTime(), row.sampleTimes[row.renders - 1]);
        for (UInt32 b = 0; b < 2; ++b)
        {
            const AudioBuffer& buffer = buffers.list().mBuffers[b];
            const UInt32 frames = row.sampleTimes.size() > 1 ? row.laterFrames : kFrames;
            EXPECT_EQ(buffer.mDataByteSize, frames * 4);
            for (UInt32 i = kFrames; i < frames; ++i)
                EXPECT_EQ(buffers.channel(b)[i], 0.0f) << i;
            const bool ownMemory = buffer.mData != buffers.memory(b).data();
            EXPECT_EQ(ownMemory, !row.callerMemory);
            if (ownMemory)
                EXPECT_EQ(buffer.mData, unit.GetOutput(0)
                                            ->IOBuffer()
                                            .PrepareBuffer(unit.GetStreamFormat(2, 0), 1)
                                            .mBuffers[b]
                                            .mData);
            const Float32 base = row.lastFirstSample < 0 ? 0.0f : 1000.0f * Float32(b);
            EXPECT_EQ(buffers.channel(b)[0], row.lastFirstSample + base);
            if (row.lastFirstSample >= 0)
                EXPECT_EQ(buffers.channel(b)[kFrames - 1],
                          base + kFrames - 1 + row.lastFirstSample);
        }
    }
}

TEST(RenderChoreography, NotificationsSurroundTheRenderWithTheirFlags)
{
    struct Seen
    {
        void* refCon;
        AudioUnitRenderActionFlags flags;
        AudioBufferList* list;
        bool operator==(const Seen&) const = default;
    };
    static std::vector<Seen> seen;
    const AURenderCallback notify = [](void* refCon, AudioUnitRenderActionFlags* flags,
                                       const AudioTimeStamp*, UInt32, UInt32, AudioBufferList* list)
    {
        seen.push_back({refCon, *flags, list});
        *flags |= 0x1000; // a notification's own flags word does not reach the render
        return OSStatus(noErr);
    };
    int a = 0, b = 0;
    TestUnit unit;
    unit.DoInitialize();
    AudioUnitRenderActionFlags flagsInRender = 0;
    OSStatus renderAnswer = noErr;
    unit.render = [&](AudioUnitRenderActionFlags& flags, auto&, UInt32)
    {
        flagsInRender = flags;
        flags |= kAudioUnitRenderAction_OutputIsSilence;
        return renderAnswer;
    };
    HostBuffers buffers(2, kFrames);
    AudioBufferList* list = &buffers.list();

    EXPECT_EQ(unit.SetRenderNotification(nullptr, &a), kAudio_ParamError);
    unit.SetRenderNotification(notify, &a);
    unit.SetRenderNotification(notify, &a);
    unit.SetRenderNotification(notify, &b);
    EXPECT_EQ(Render(unit, buffers, kFrames, 0, 1.0, 0x2), noErr);
    EXPECT_EQ(flagsInRender, 0x2u);
    // One flags word per phase, shared by the notifications of that phase.
    EXPECT_EQ(seen,
              (std::vector<Seen>{
                  {&a, 0x6, list}, {&b, 0x1006, list}, {&a, 0x1A, list}, {&b, 0x101A, list}}));

    seen.clear();
    unit.RemoveRenderNotification(notify, &a);
    renderAnswer = -4;
    ListenerLog listener;
    listener.Attach(unit, {kAudioUnitProperty_LastRenderError});
    EXPECT_EQ(Render(unit, buffers, kFrames, 0, 2.0), -4);
    EXPECT_EQ(seen, (std::vector<Seen>{{&b, 0x4, list}, {&b, 0x118, list}}));
    EXPECT_EQ(listener.calls.size(), 1u);

    seen.clear();
    unit.RemoveRenderNotification(notify, &b);
    EXPECT_EQ(Render(unit, buffers, kFrames, 0, 3.0), -4);
    EXPECT_TRUE(seen.empty());
}
