// Linked with the counting allocator: scheduling and the render path allocate nothing, whether
// the render renders, refuses, records an error for the listeners or logs.
#include "hosts/audio_unit/AURenderLog.h"

#include "tests/audio_unit/TestUnit.h"
#include "tests/support/CountingAllocator.h"

#include <gtest/gtest.h>

using namespace autest;

TEST(RenderAllocation, RendersRefusalsNoticesAndTheLogAllocateNothing)
{
    TestUnit unit;
    unit.canSchedule = true;
    unit.DoInitialize();
    int heard = 0;
    unit.AddPropertyListener(
        kAudioUnitProperty_LastRenderError,
        [](void* refCon, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
        { ++*static_cast<int*>(refCon); },
        &heard);
    unit.SetRenderNotification([](void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                                  UInt32, AudioBufferList*) { return OSStatus(noErr); },
                               nullptr);
    AURenderLog::SetSink([](int, const char*) {});
    AURenderLog::SetClock([] { return std::int64_t(1234); });
    OSStatus renderAnswer = noErr;
    unit.render = [&](auto&, auto&, UInt32) { return renderAnswer; };
    HostBuffers callerMemory(2, 512);
    HostBuffers nullBuffers(2, 512, false);
    AudioUnitParameterEvent event{};
    event.eventType = kParameterEvent_Immediate;

    int allocations = 0;
    for (int round = 0; round < 3; ++round)
    {
        allocations += veridane::test::allocationsDuring(
            [&]
            {
                // Initialisation gave the event list room, so scheduling takes none.
                unit.ScheduleParameter(&event, 1);
                AudioUnitRenderActionFlags flags = 0;
                AudioTimeStamp time{};
                for (const UInt32 frames : {512u, 2000u})
                {
                    time.mSampleTime += 512;
                    renderAnswer = round == 2 ? -4 : noErr;
                    unit.DoRender(flags, time, 0, frames, callerMemory.list());
                    unit.DoRender(flags, time, 0, frames, nullBuffers.list());
                }
                UInt32 error = 0;
                unit.DispatchGetProperty(kAudioUnitProperty_LastRenderError, 0, 0, &error);
            });
    }
    AURenderLog::SetSink(nullptr);
    AURenderLog::SetClock(nullptr);
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(heard, 3);
}
