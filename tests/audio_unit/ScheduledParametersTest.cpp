#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

using namespace autest;

namespace
{
constexpr AudioUnitParameterID kImmediate = 1, kRamp = 2;

/** The immediate parameter set at an offset. */
AudioUnitParameterEvent SetAt(UInt32 offset, Float32 value)
{
    return Immediate(offset, value, kImmediate);
}

/** The ramped parameter's ramp. */
AudioUnitParameterEvent Glide(SInt32 start, UInt32 duration, Float32 from, Float32 to)
{
    return Ramp(start, duration, from, to, kRamp);
}

/** What one slice saw: where it lay, and the two parameters' slots. */
struct Slice
{
    UInt32 start, frames;
    Float32 immediate;
    AUParameterEventType rampType;
    SInt32 rampOffset;
    bool operator==(const Slice&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Slice& s)
{
    return out << "[" << s.start << "+" << s.frames << " " << s.immediate << " " << s.rampType
               << "@" << s.rampOffset << "]";
}

/** A global element that lets the test see a parameter's slot. */
struct PeekElement : AUElement
{
    using AUElement::AUElement;
    const ParameterMapEvent& Slot(AudioUnitParameterID id) { return mParameters[id]; }
};

/** Processes the scheduled events as an effect does, recording each slice. */
struct SlicingUnit : TestUnit
{
    std::vector<Slice> slices;
    OSStatus sliceAnswer = noErr;

    SlicingUnit()
    {
        canSchedule = true;
        Globals().SetNumberOfElements(0);
        Globals().SetNumberOfElements(1);
        for (const auto id : {kImmediate, kRamp})
            Globals().GetElement(0)->SetParameter(id, 0.0f);
        render = [this](auto&, auto&, UInt32 frames)
        { return ProcessForScheduledParams(ScheduledEvents(), frames, this); };
    }
    OSStatus ProcessScheduledSlice(void*, UInt32 start, UInt32 frames, UInt32) override
    {
        Float32 immediate = 0.0f;
        GetParameter(kImmediate, 0, 0, immediate);
        slices.push_back(
            {start, frames, immediate, RampSlot().mEventType, RampSlot().mBufferOffset});
        return sliceAnswer;
    }
    std::unique_ptr<AUElement> CreateElement(AudioUnitScope scope,
                                             AudioUnitElement element) override
    {
        if (scope == kAudioUnitScope_Global)
            return std::make_unique<PeekElement>(*this);
        return TestUnit::CreateElement(scope, element);
    }
    const ParameterMapEvent& RampSlot()
    {
        return static_cast<PeekElement*>(Globals().GetElement(0))->Slot(kRamp);
    }
};

OSStatus RenderOnce(TestUnit& unit, UInt32 frames, Float64 sampleTime = 0.0)
{
    HostBuffers buffers(2, frames);
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp time{};
    time.mSampleTime = sampleTime;
    return unit.DoRender(flags, time, 0, frames, buffers.list());
}
} // namespace

TEST(ScheduledParameters, SlicesEndAtEveryEventBoundaryAndEventsApplyWhereTheyReach)
{
    constexpr AUParameterEventType I = kParameterEvent_Immediate, R = kParameterEvent_Ramped;
    struct Row
    {
        const char* name;
        UInt32 frames;
        std::vector<AudioUnitParameterEvent> events;
        std::vector<Slice> slices;
    };
    // clang-format off
    const Row rows[] = {
        {"an immediate change and a ramp", 512, {SetAt(100, 0.5f), Glide(200, 100, 0, 1)},
         {{0, 100, 0.0f, I, 0}, {100, 100, 0.5f, I, 0}, {200, 100, 0.5f, R, 0}, {300, 212, 0.5f, R, 0}}},
        {"given out of order", 512, {Glide(200, 100, 0, 1), SetAt(100, 0.5f)},
         {{0, 100, 0.0f, I, 0}, {100, 100, 0.5f, I, 0}, {200, 100, 0.5f, R, 0}, {300, 212, 0.5f, R, 0}}},
        {"an immediate change at 0 applies from the first slice", 64, {SetAt(0, 0.25f)},
         {{0, 64, 0.25f, I, 0}}},
        {"one at the end applies to no slice", 64, {SetAt(64, 0.25f)}, {{0, 64, 0.0f, I, 0}}},
        {"a ramp that began before the buffer ends a slice where it ends", 64, {Glide(-50, 70, 0, 1)},
         {{0, 20, 0.0f, R, -50}, {20, 44, 0.0f, R, -50}}},
        {"the latest immediate change that reaches a slice wins", 64,
         {SetAt(10, 0.75f), SetAt(0, 0.25f)}, {{0, 10, 0.25f, I, 0}, {10, 54, 0.75f, I, 0}}},
        {"no events, one slice", 64, {}, {{0, 64, 0.0f, I, 0}}},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        SlicingUnit unit;
        unit.DoInitialize();
        unit.ScheduledEvents() = row.events;
        EXPECT_EQ(RenderOnce(unit, row.frames), noErr);
        EXPECT_EQ(unit.slices, row.slices);
        EXPECT_TRUE(unit.ScheduledEvents().empty());
    }

    SlicingUnit unit;
    unit.DoInitialize();
    unit.sliceAnswer = -4;
    unit.ScheduledEvents() = {SetAt(10, 1.0f)};
    EXPECT_EQ(RenderOnce(unit, 64), -4);
    EXPECT_EQ(unit.slices.size(), 1u);
}

TEST(ScheduledParameters, ImmediateEventsApplyAtOnceAndAreKeptOnlyWhenTheUnitSchedules)
{
    struct Row
    {
        const char* name;
        bool canSchedule;
        std::vector<AudioUnitParameterEvent> events;
        UInt32 count;
        OSStatus expected;
        Float32 valueAfter;
        size_t kept;
    };
    // clang-format off
    const Row rows[] = {
        {"a unit that schedules keeps both kinds", true, {SetAt(5, 0.5f), Glide(0, 10, 0, 1)}, 2,
         noErr, 0.5f, 2},
        {"one that does not drops the ramp", false, {SetAt(5, 0.5f), Glide(0, 10, 0, 1)}, 2,
         noErr, 0.5f, 0},
        {"null events with a count", true, {}, 3, kAudio_ParamError, 0.0f, 0},
        {"no events", true, {}, 0, noErr, 0.0f, 0},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        SlicingUnit unit;
        unit.canSchedule = row.canSchedule;
        EXPECT_EQ(
            unit.ScheduleParameter(row.events.empty() ? nullptr : row.events.data(), row.count),
            row.expected);
        Float32 value = -1.0f;
        unit.GetParameter(kImmediate, 0, 0, value);
        EXPECT_EQ(value, row.valueAfter);
        EXPECT_EQ(unit.ScheduledEvents().size(), row.kept);
    }
}

TEST(ScheduledParameters, EventsScheduledBeforeTheRenderApplyToThatRender)
{
    SlicingUnit unit;
    unit.DoInitialize();
    const AURenderCallback schedule = [](void* refCon, AudioUnitRenderActionFlags* flags,
                                         const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
    {
        if ((*flags & kAudioUnitRenderAction_PreRender) != 0)
        {
            const AudioUnitParameterEvent event = Glide(32, 16, 0, 1);
            static_cast<AUBase*>(refCon)->ScheduleParameter(&event, 1);
        }
        return OSStatus(noErr);
    };
    unit.SetRenderNotification(schedule, static_cast<AUBase*>(&unit));
    EXPECT_EQ(RenderOnce(unit, 64), noErr);
    constexpr AUParameterEventType I = kParameterEvent_Immediate, R = kParameterEvent_Ramped;
    EXPECT_EQ(unit.slices,
              (std::vector<Slice>{{0, 32, 0, I, 0}, {32, 16, 0, R, 0}, {48, 16, 0, R, 0}}));
}

TEST(ScheduledParameters, TheParameterListIsTheScopesLargestElements)
{
    TestUnit unit(3, 1);
    for (UInt32 e = 1; e < 3; ++e)
        for (const AudioUnitParameterID id : {9u, 4u, 7u})
            unit.Inputs().GetElement(e)->SetParameter(id + e, 0.0f);
    UInt32 count = 0;
    AudioUnitParameterID ids[3] = {};
    EXPECT_EQ(unit.GetParameterList(kAudioUnitScope_Input, ids, count), noErr);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(std::vector<AudioUnitParameterID>(ids, ids + 3),
              (std::vector<AudioUnitParameterID>{5, 8, 10}));
    EXPECT_EQ(unit.GetParameterList(kAudioUnitScope_Output, nullptr, count), noErr);
    EXPECT_EQ(count, 0u);
}
