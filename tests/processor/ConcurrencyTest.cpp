// Runs the audio path while host threads change gain, direction and state, as real hosts do.
// Meant for ThreadSanitizer: any unsynchronised shared field shows up as a race.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

TEST(SharedFields, ParameterDirectionAndStateChangesRaceFreeWithTheAudioThread)
{
    LoomcraftAudioProcessor p;
    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};

    std::thread audio(
        [&]
        {
            const auto input = veridane::test::rampBlock(256);
            auto block = input;
            juce::MidiBuffer midi;
            while (running.load())
            {
                block.makeCopyOf(input, true);
                p.processBlock(block, midi);
                for (int c = 0; c < 4; ++c)
                    ASSERT_TRUE(std::isfinite(block.getSample(c, 255)));
                blocks.fetch_add(1);
            }
        });

    std::thread automation(
        [&]
        {
            for (int i = 0; i < 2000; ++i)
                p.setParameter(0, float(i % 100) / 100.0f);
        });

    std::thread host(
        [&]
        {
            for (int i = 0; i < 500; ++i)
            {
                p.setConversionMode(i % 2);
                juce::MemoryBlock state;
                p.getStateInformation(state);
                p.setStateInformation(state.getData(), int(state.getSize()));
            }
        });

    std::thread editor(
        [&]
        {
            for (int i = 0; i < 2000; ++i)
            {
                if (p.stateChanged.exchange(false, std::memory_order_acquire))
                    (void)(p.getParameter(0) + float(p.idxInputConfig.load()));
                for (auto& level : p.meterLevels)
                    ASSERT_LE(level.load(std::memory_order_relaxed), 1.0f);
            }
        });

    automation.join();
    host.join();
    editor.join();
    while (blocks.load() < 20)
        std::this_thread::yield();
    running = false;
    audio.join();

    // The last writes win once everything has stopped.
    p.setParameter(0, 0.9f);
    p.setConversionMode(0);
    EXPECT_EQ(p.getParameter(0), 0.9f);
    EXPECT_EQ(p.idxInputConfig.load(), 0);
}
