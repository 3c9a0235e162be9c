#include "processor/GainLaw.h"
#include "processor/LoomcraftAudioProcessor.h"

#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using veridane::linearGainForGainValue;

TEST(GainLaw, MapsTheNormalisedRangeOntoMinus90ToPlus10Decibels)
{
    EXPECT_NEAR(linearGainForGainValue(0.0f), 0.0000316228f, 1e-10); // -90 dB, not silence
    EXPECT_FLOAT_EQ(linearGainForGainValue(0.5f), 0.01f);
    EXPECT_EQ(linearGainForGainValue(0.9f), 1.0f); // exactly unity at the default
    EXPECT_FLOAT_EQ(linearGainForGainValue(1.0f), 3.1622777f);
    EXPECT_FLOAT_EQ(linearGainForGainValue(1.5f), 1000.0f); // not clamped: +60 dB
}

TEST(GainLaw, MutesAtOrBelowMinus100DecibelsAndForNaN)
{
    EXPECT_EQ(linearGainForGainValue(-0.1f), 0.0f);
    EXPECT_EQ(linearGainForGainValue(-5.0f), 0.0f);
    EXPECT_EQ(linearGainForGainValue(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(linearGainForGainValue(-std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_GT(linearGainForGainValue(-0.09f), 0.0f);
}

TEST(GainLaw, MutesGainsTooLargeForAFloatInsteadOfGoingInfinite)
{
    EXPECT_TRUE(std::isfinite(linearGainForGainValue(8.6f)));
    for (float value :
         {8.7f, 1e9f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max()})
    {
        SCOPED_TRACE(value);
        EXPECT_EQ(linearGainForGainValue(value), 0.0f);
    }
}

TEST(GainLaw, HugeStoredGainNeverTurnsFiniteInputIntoInfOrNaN)
{
    // +770 dB: a finite gain of 3.2e38, which carries full scale past the largest float.
    LoomcraftAudioProcessor p;
    p.setParameter(0, 8.6f);
    EXPECT_EQ(p.getParameter(0), 8.6f); // stored unchanged
    auto block = veridane::test::constantBlock(512, 1.0f);
    for (int n = 0; n < 40; ++n)
        veridane::test::process(p, block);
    EXPECT_TRUE(std::isfinite(p.currentGain));
    for (int c = 0; c < 4; ++c)
        EXPECT_TRUE(std::isfinite(block.getSample(c, 511)));

    // And it recovers: a normal value glides back and settles as usual.
    p.setParameter(0, 0.9f);
    for (int n = 0; n < 40; ++n)
        veridane::test::process(p, block);
    EXPECT_NEAR(p.currentGain, 1.0f, 2e-5); // from above, the glide stalls ~100 units short
}
