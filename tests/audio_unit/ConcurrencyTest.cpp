#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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
