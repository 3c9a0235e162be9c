// Proves the audio path allocates nothing, whatever its stages are doing.
#include "ProcessorTestSupport.h"
#include "tests/support/CountingAllocator.h"

#include <gtest/gtest.h>

using veridane::test::allocationsDuring;

TEST(AudioPath, ProcessesWithoutAllocatingInAnyStageMode)
{
    LoomcraftAudioProcessor p;
    auto settledBlock = veridane::test::rampBlock(512);
    auto longBlock = veridane::test::rampBlock(10000);
    juce::AudioBuffer<float> twoChannels(2, 512);
    juce::MidiBuffer midi;

    EXPECT_EQ(allocationsDuring([&] { p.processBlock(settledBlock, midi); }), 0);

    p.setConversionMode(1);
    p.setParameter(0, 0.3f);
    EXPECT_EQ(allocationsDuring([&] { p.processBlock(settledBlock, midi); }), 0);
    EXPECT_EQ(allocationsDuring([&] { p.processBlock(longBlock, midi); }), 0);
    EXPECT_EQ(allocationsDuring([&] { p.processBlock(twoChannels, midi); }), 0);
    EXPECT_EQ(allocationsDuring([&] { p.processBlockBypassed(longBlock, midi); }), 0);
}

TEST(AudioPath, CounterSeesAllocations)
{
    // Guards the test above against a counter that never counts.
    EXPECT_GT(allocationsDuring(
                  []
                  {
                      int* volatile kept = new int(3); // volatile: the pair may not be elided
                      delete kept;
                  }),
              0);
}
