#include "hosts/audio_unit/AUEntryCatch.h"
#include "hosts/audio_unit/CAMutex.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

using namespace autest;

namespace
{
/** A unit as Open constructs it, before PostConstructor. */
struct BareUnit : AUBase
{
    BareUnit() : AUBase(nullptr, 2, 1, 3) {}
    bool CanScheduleParameters() const override { return false; }
    bool StreamFormatWritable(AudioUnitScope, AudioUnitElement) override { return true; }
};

UInt32 OutputFrames(TestUnit& unit)
{
    return unit.GetOutput(0)->IOBuffer().GetAllocatedFrames();
}
} // namespace

TEST(Lifecycle, AFreshUnitHasOneGlobalElementTheDefaultsAndNoBusesUntilItsElementsAreMade)
{
    BareUnit unit;
    EXPECT_EQ(unit.GetMaxFramesPerSlice(), 1156u);
    EXPECT_EQ(unit.CurrentPreset().presetNumber, -1);
    EXPECT_EQ(TextOf(unit.CurrentPreset().presetName), "Untitled");
    EXPECT_EQ(unit.CurrentRenderSampleTime(), -1.0);
    EXPECT_EQ(unit.Globals().GetNumberOfElements(), 1u);
    EXPECT_EQ(unit.Inputs().GetNumberOfElements() + unit.Outputs().GetNumberOfElements(), 0u);

    for (int time = 0; time < 2; ++time)
        unit.PostConstructor();
    EXPECT_EQ(unit.Inputs().GetNumberOfElements(), 2u);
    EXPECT_EQ(unit.Outputs().GetNumberOfElements(), 1u);
    EXPECT_EQ(unit.Groups().GetNumberOfElements(), 3u);
}

TEST(Lifecycle, InitialiseAndCleanUpRunTheirHooksOnceAndKeepBuffersOnlyWhileInitialised)
{
    using Act = std::function<OSStatus(TestUnit&)>;
    struct Row
    {
        const char* name;
        OSStatus initializeResult;
        Act act;
        OSStatus lastAnswer;
        bool initialized;
        int initializeCalls, cleanupCalls;
        UInt32 outputFrames;
        size_t maxFramesNotices;
    };
    const UInt32 frames64 = 64;
    // clang-format off
    const Row rows[] = {
        {"initialise", noErr, nullptr, noErr, true, 1, 0, 1156, 0},
        {"initialise twice", noErr, [](TestUnit& u) { return u.DoInitialize(); }, noErr, true, 1, 0, 1156, 0},
        {"a failing initialise", kAudioUnitErr_FormatNotSupported, nullptr,
         kAudioUnitErr_FormatNotSupported, false, 1, 0, 0, 0},
        {"clean up", noErr, [](TestUnit& u) { u.DoCleanup(); return noErr; }, noErr, false, 1, 1, 0, 0},
        {"clean up twice", noErr, [](TestUnit& u) { u.DoCleanup(); u.DoCleanup(); return noErr; },
         noErr, false, 1, 1, 0, 0},
        {"again after clean-up", noErr, [](TestUnit& u) { u.DoCleanup(); return u.DoInitialize(); },
         noErr, true, 2, 1, 1156, 0},
        {"maximum frames while initialised", noErr,
         [](TestUnit& u) { u.SetMaxFramesPerSlice(64); return noErr; }, noErr, true, 1, 0, 64, 1},
        {"maximum frames by property while initialised", noErr,
         [&](TestUnit& u) { return u.DispatchSetProperty(kAudioUnitProperty_MaximumFramesPerSlice,
                                                         kAudioUnitScope_Global, 0, &frames64, 4); },
         kAudioUnitErr_Initialized, true, 1, 0, 1156, 0},
        {"maximum frames by property before", noErr,
         [&](TestUnit& u) { u.DoCleanup(); return u.DispatchSetProperty(
             kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames64, 4); },
         noErr, false, 1, 1, 0, 1},
        {"pre-destructor", noErr, [](TestUnit& u) { u.PreDestructor(); return noErr; },
         noErr, false, 1, 1, 0, 0},
        {"a format set whose buffer fails after a failed initialise keeps the format", noErr,
         [](TestUnit& u) {
             u.DoCleanup();
             u.SetMaxFramesPerSlice(0x7FFFFFFF);
             EXPECT_EQ(AUEntryCatch([&] { return u.DoInitialize(); }), memFullErr);
             const AudioStreamBasicDescription four = FloatFormat(4);
             const OSStatus answer = AUEntryCatch([&] { return u.DispatchSetProperty(8, 2, 0, &four, 40); });
             EXPECT_EQ(u.GetStreamFormat(kAudioUnitScope_Output, 0).mChannelsPerFrame, 2u);
             return answer; },
         memFullErr, false, 2, 1, 0, 1},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        TestUnit unit;
        ListenerLog log;
        log.Attach(unit, {kAudioUnitProperty_MaximumFramesPerSlice});
        unit.initializeResult = row.initializeResult;
        OSStatus answer = unit.DoInitialize();
        if (row.act)
            answer = row.act(unit);
        EXPECT_EQ(answer, row.lastAnswer);
        EXPECT_EQ(unit.IsInitialized(), row.initialized);
        EXPECT_EQ(unit.initializeCalls, row.initializeCalls);
        EXPECT_EQ(unit.cleanupCalls, row.cleanupCalls);
        EXPECT_EQ(OutputFrames(unit), row.outputFrames);
        EXPECT_EQ(log.calls.size(), row.maxFramesNotices);
        if (!row.initialized)
            EXPECT_EQ(unit.CurrentRenderSampleTime(), -1.0);
    }
}

TEST(Lifecycle, PreDestructorCleansUpUnderTheUnitsMutexAndLetsItGo)
{
    struct MutexUnit : TestUnit
    {
        CAMutex mutex;
        bool heldDuringCleanup = false;
        MutexUnit() { InstallMutex(&mutex); }
        void Cleanup() override
        {
            TestUnit::Cleanup();
            // Lock answers false to the thread that holds it already.
            const bool took = mutex.Lock();
            heldDuringCleanup = !took;
            if (took)
                mutex.Unlock();
        }
    };
    MutexUnit unit;
    unit.DoInitialize();
    unit.PreDestructor();
    EXPECT_TRUE(unit.heldDuringCleanup);
    EXPECT_TRUE(unit.mutex.Lock());
    unit.mutex.Unlock();
}
