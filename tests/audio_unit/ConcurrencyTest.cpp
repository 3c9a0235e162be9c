#include "hosts/audio_unit/AURenderLog.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

using namespace autest;

TEST(ConstructionLockConcurrency, ConstructionsOnTwoThreadsRunOneAfterTheOther)
{
    constexpr int kRounds = 200;
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> wrongTypes{0};

    const auto construct = [&](ComponentBase::EInstanceType type)
    {
        for (int i = 0; i < kRounds; ++i)
        {
            ComponentInitLocker lock;
            if (inside.fetch_add(1) != 0)
                ++overlaps;
            ComponentBase::sNewInstanceType = type;
            std::this_thread::yield();
            {
                // A construction inside a construction, as a unit building another would.
                ComponentInitLocker nested;
                if (TestUnit().GetInstanceType() != type)
                    ++wrongTypes;
            }
            if (ComponentBase::sNewInstanceType != type)
                ++wrongTypes;
            inside.fetch_sub(1);
        }
    };
    std::thread first(construct, ComponentBase::kAudioComponentInstance);
    std::thread second(construct, ComponentBase::kComponentMgrInstance);
    first.join();
    second.join();

    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(wrongTypes.load(), 0);
    EXPECT_EQ(ComponentBase::sNewInstanceType, ComponentBase::kComponentMgrInstance);
}

TEST(DisconnectConcurrency, ARenderPullingWhileTheInputIsDisconnectedKeepsItsSamples)
{
    constexpr UInt32 kFrames = 128;
    TestUnit unit;
    unit.BeginInitializing(kFrames);
    unit.SetInitialized(true);
    AUInputElement& input = *unit.GetInput(0);
    input.SetInputCallback(
        [](void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
           AudioBufferList* list)
        {
            for (UInt32 b = 0; b < list->mNumberBuffers; ++b)
                std::fill_n(static_cast<float*>(list->mBuffers[b].mData), frames, 0.5f);
            return OSStatus(noErr);
        },
        nullptr);

    std::atomic<bool> rendering{true};
    std::atomic<int> pulls{0};
    std::atomic<int> unexpected{0};
    std::thread render(
        [&]
        {
            AudioUnitRenderActionFlags flags = 0;
            const AudioTimeStamp time{};
            while (rendering.load())
            {
                const OSStatus status = input.PullInput(flags, time, 0, kFrames);
                if (status != noErr && status != kAudioUnitErr_NoConnection)
                    ++unexpected;
                ++pulls;
            }
        });
    while (pulls.load() < 100)
        std::this_thread::yield();
    input.SetInputCallback(nullptr, nullptr);
    const int pullsAtDisconnect = pulls.load();
    while (pulls.load() < pullsAtDisconnect + 100)
        std::this_thread::yield();
    rendering = false;
    render.join();

    EXPECT_EQ(unexpected.load(), 0);
    EXPECT_FALSE(input.IsActive());
}

TEST(RenderNotificationConcurrency, EachRenderCallsTheSameSetBeforeAndAfterEachMemberOnce)
{
    constexpr int kRenders = 10000;
    // On a loaded machine the renders may all run before the other thread adds anything: keep
    // rendering (within a bound) until enough of them had notifications to call.
    constexpr int kRendersWithNotifications = 1000;
    constexpr int kMostRenders = 100 * kRenders;
    constexpr int kTokens = 6;
    static int tokens[kTokens];
    // Touched only by the render thread.
    static std::vector<int> before, after;
    const AURenderCallback notify = [](void* refCon, AudioUnitRenderActionFlags* flags,
                                       const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
    {
        const auto token = int(static_cast<int*>(refCon) - tokens);
        ((*flags & kAudioUnitRenderAction_PreRender) != 0 ? before : after).push_back(token);
        return OSStatus(noErr);
    };

    TestUnit unit;
    unit.DoInitialize();
    std::atomic<bool> rendering{true};
    std::atomic<int> mismatches{0};
    std::atomic<int> duplicates{0};
    std::atomic<int> rendersWithNotifications{0};
    std::thread render(
        [&]
        {
            HostBuffers buffers(2, 64);
            AudioTimeStamp time{};
            for (int i = 0; i < kRenders || (rendersWithNotifications < kRendersWithNotifications &&
                                             i < kMostRenders);
                 ++i)
            {
                before.clear();
                after.clear();
                AudioUnitRenderActionFlags flags = 0;
                time.mSampleTime = 64.0 * i;
                unit.DoRender(flags, time, 0, 64, buffers.list());
                if (before != after)
                    ++mismatches;
                std::vector<int> sorted = before;
                std::sort(sorted.begin(), sorted.end());
                if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
                    ++duplicates;
                if (!before.empty())
                    ++rendersWithNotifications;
            }
            rendering = false;
        });
    unsigned seed = 1;
    while (rendering.load())
    {
        seed = seed * 1103515245u + 12345u;
        int* token = &tokens[(seed >> 16) % kTokens];
        if ((seed >> 8) & 1)
            unit.SetRenderNotification(notify, token);
        else
            unit.RemoveRenderNotification(notify, token);
    }
    render.join();

    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(duplicates.load(), 0);
    EXPECT_GE(rendersWithNotifications.load(), kRendersWithNotifications);
}

TEST(PropertyListenerConcurrency, ListenersChangedOnOneThreadWhileAnotherNotifies)
{
    static std::atomic<int> heard{0};
    const AudioUnitPropertyListenerProc listen = [](void*, AudioUnit, AudioUnitPropertyID,
                                                    AudioUnitScope, AudioUnitElement) { ++heard; };
    TestUnit unit;
    unit.AddPropertyListener(1, listen, nullptr);
    std::atomic<bool> notifying{true};
    std::thread notifier(
        [&]
        {
            for (int i = 0; i < 20000; ++i)
                unit.PropertyChanged(1, 0, 0);
            notifying = false;
        });
    for (std::uintptr_t i = 1; notifying.load(); ++i)
    {
        unit.AddPropertyListener(1, listen, reinterpret_cast<void*>(i));
        unit.RemovePropertyListener(1, listen, reinterpret_cast<void*>(i - 1), true);
    }
    notifier.join();
    EXPECT_GE(heard.load(), 20000);
}

TEST(RenderLogConcurrency, ThreadsHittingTheLimitInOneSecondWriteOneLine)
{
    static std::atomic<int> lines{0};
    static std::atomic<std::int64_t> now{0};
    lines = 0;
    AURenderLog::SetSink([](int, const char*) { ++lines; });
    AURenderLog::SetClock([] { return now.load(); });
    for (const std::int64_t second : {9000, 9001})
    {
        now = second;
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back(
                []
                {
                    for (int i = 0; i < 1000; ++i)
                        AURenderLog::TooManyFrames(2000, 1156);
                });
        for (auto& thread : threads)
            thread.join();
    }
    AURenderLog::SetSink(nullptr);
    AURenderLog::SetClock(nullptr);
    EXPECT_EQ(lines.load(), 2);
}
