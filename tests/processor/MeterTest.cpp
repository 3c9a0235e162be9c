#include "processor/MeterBallistics.h"

#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using veridane::updatedMeterLevel;

TEST(MeterBallistics, FullScaleMovesATenthTowardSixtySeventieths)
{
    EXPECT_EQ(updatedMeterLevel(0.0f, 1.0f), float((double(-10.0f / 70.0f) + 1.0) * 0.1));
    float level = 0.0f;
    for (int block = 0; block < 300; ++block)
        level = updatedMeterLevel(level, 1.0f);
    EXPECT_NEAR(level, 60.0f / 70.0f, 1e-5);
}

TEST(MeterBallistics, PeaksAboveTenDecibelsReadFull)
{
    float level = 0.0f;
    for (int block = 0; block < 300; ++block)
        level = updatedMeterLevel(level, 3.2f);
    EXPECT_NEAR(level, 1.0f, 1e-5);
    EXPECT_EQ(updatedMeterLevel(0.0f, std::numeric_limits<float>::infinity()),
              updatedMeterLevel(0.0f, 3.2f));
}

TEST(MeterBallistics, SilenceAndPeaksBelowMinus60DecayByNineTenths)
{
    for (float peak : {0.0f, 0.0009f, -1.0f, std::numeric_limits<float>::quiet_NaN()})
    {
        SCOPED_TRACE(peak);
        EXPECT_EQ(updatedMeterLevel(0.5f, peak), float(0.5 * 0.9));
    }
}

TEST(Metering, InputMetersShowTheSignalBeforeConversionAndOutputMetersAfterGain)
{
    LoomcraftAudioProcessor p;
    juce::AudioBuffer<float> block(4, 256);
    block.clear();
    block.setSample(0, 100, 0.5f);  // W, raised 3 dB on the way out
    block.setSample(1, 100, -1.0f); // X, which leaves on channel 3
    veridane::test::process(p, block);

    EXPECT_EQ(p.meterLevels[0].load(), updatedMeterLevel(0.0f, 0.5f));
    EXPECT_EQ(p.meterLevels[1].load(), updatedMeterLevel(0.0f, 1.0f));
    EXPECT_EQ(p.meterLevels[2].load(), 0.0f);
    EXPECT_EQ(p.meterLevels[4].load(), updatedMeterLevel(0.0f, 0.5f * 1.41421354f));
    EXPECT_EQ(p.meterLevels[5].load(), 0.0f);
    EXPECT_EQ(p.meterLevels[7].load(), updatedMeterLevel(0.0f, 1.0f));
}

TEST(Metering, SilentBlocksLetEveryMeterFall)
{
    LoomcraftAudioProcessor p;
    for (auto& level : p.meterLevels)
        level = 0.8f;
    auto block = veridane::test::constantBlock(128, 0.0f);
    veridane::test::process(p, block);
    for (auto& level : p.meterLevels)
        EXPECT_EQ(level.load(), float(double(0.8f) * 0.9));
}
