#include "ProcessorTestSupport.h"

#include "processor/ConversionDirection.h"
#include "processor/Glide.h"

#include <gtest/gtest.h>

#include <cmath>

using veridane::test::bits;
using veridane::test::process;
using veridane::test::rampBlock;

namespace
{
constexpr float sqrtTwo = 1.41421354f;
constexpr float sqrtHalf = 0.70710677f;

/** Settles both conversion stages on the targets of `direction`. */
void settleOn(LoomcraftAudioProcessor& p, int direction)
{
    p.setConversionMode(direction);
    p.currentWeightW = p.targetWeightW.load();
    p.currentPermutation = p.targetPermutation.load();
}

void expectChannelEquals(const juce::AudioBuffer<float>& out, int channel,
                         const juce::AudioBuffer<float>& in, int sourceChannel, float factor)
{
    SCOPED_TRACE("output channel " + std::to_string(channel));
    for (int i = 0; i < out.getNumSamples(); ++i)
        ASSERT_EQ(bits(out.getSample(channel, i)), bits(factor * in.getSample(sourceChannel, i)))
            << "sample " << i;
}
} // namespace

TEST(SettledConversion, FumaToAmbixRaisesWAndReadsYZXFromPositions231)
{
    LoomcraftAudioProcessor p;
    const auto input = rampBlock(512);
    auto block = input;
    process(p, block);

    expectChannelEquals(block, 0, input, 0, sqrtTwo);
    expectChannelEquals(block, 1, input, 2, 1.0f);
    expectChannelEquals(block, 2, input, 3, 1.0f);
    expectChannelEquals(block, 3, input, 1, 1.0f);
}

TEST(SettledConversion, AmbixToFumaLowersWAndReadsXYZFromPositions312)
{
    LoomcraftAudioProcessor p;
    settleOn(p, veridane::ambixToFuma);
    const auto input = rampBlock(512);
    auto block = input;
    process(p, block);

    expectChannelEquals(block, 0, input, 0, sqrtHalf);
    expectChannelEquals(block, 1, input, 3, 1.0f);
    expectChannelEquals(block, 2, input, 1, 1.0f);
    expectChannelEquals(block, 3, input, 2, 1.0f);
}

TEST(SettledConversion, OutOfRangeDirectionsConvertLikeFumaToAmbix)
{
    for (int direction : {2, 7, -1})
    {
        SCOPED_TRACE(direction);
        LoomcraftAudioProcessor p;
        settleOn(p, direction);
        EXPECT_EQ(p.idxInputConfig.load(), direction);
        const auto input = rampBlock(64);
        auto block = input;
        process(p, block);
        expectChannelEquals(block, 0, input, 0, sqrtTwo);
        expectChannelEquals(block, 3, input, 1, 1.0f);
    }
}

TEST(SettledConversion, GainScalesEveryOutputAfterTheReorder)
{
    LoomcraftAudioProcessor p;
    p.setParameter(0, 1.0f); // +10 dB
    p.currentGain = p.targetGain.load();
    const auto input = rampBlock(256);
    auto block = input;
    process(p, block);
    const float gain = p.targetGain.load();
    for (int i = 0; i < 256; ++i)
    {
        ASSERT_EQ(bits(block.getSample(0, i)), bits(gain * (sqrtTwo * input.getSample(0, i))));
        ASSERT_EQ(bits(block.getSample(3, i)), bits(gain * input.getSample(1, i)));
    }
}

TEST(ChannelOrderGlide, StallsJustShortOfOneAfter2377Samples)
{
    LoomcraftAudioProcessor p;
    p.setConversionMode(veridane::ambixToFuma);
    auto block = rampBlock(1);
    float previous = p.currentPermutation;
    int lastChange = 0;
    for (int sample = 1; sample <= 6000; ++sample)
    {
        process(p, block);
        if (p.currentPermutation != previous)
            lastChange = sample;
        previous = p.currentPermutation;
    }
    EXPECT_EQ(lastChange, 2377);
    EXPECT_EQ(p.currentPermutation, 0.99999404f);
    EXPECT_FALSE(veridane::isSettled(p.currentPermutation, 1.0f));
}

TEST(ChannelOrderGlide, ReturnsWithinOneMillionthAt2757AndSnapsToZeroAtTheNextBlock)
{
    LoomcraftAudioProcessor p;
    p.setConversionMode(veridane::ambixToFuma);
    auto warmUp = rampBlock(4096);
    process(p, warmUp);
    ASSERT_EQ(p.currentPermutation, 0.99999404f);

    p.setConversionMode(veridane::fumaToAmbix);
    auto block = rampBlock(1);
    int firstWithin = 0;
    for (int sample = 1; sample <= 4000 && firstWithin == 0; ++sample)
    {
        process(p, block);
        if (double(std::abs(p.currentPermutation)) <= 0.000001)
            firstWithin = sample;
    }
    EXPECT_EQ(firstWithin, 2757);
    EXPECT_NE(p.currentPermutation, 0.0f);

    const auto input = rampBlock(8);
    auto next = input;
    process(p, next);
    EXPECT_EQ(bits(p.currentPermutation), bits(0.0f));
    expectChannelEquals(next, 1, input, 2, 1.0f); // the settled copy, no crossfade residue
}

TEST(ChannelOrderGlide, CrossfadesEachOutputBetweenItsTwoSources)
{
    LoomcraftAudioProcessor p;
    p.setConversionMode(veridane::ambixToFuma);
    const auto input = rampBlock(300);
    auto block = input;
    process(p, block);

    // Re-run the documented arithmetic alongside to pin every sample.
    float u = 0.0f, w = sqrtTwo;
    for (int i = 0; i < 300; ++i)
    {
        w = veridane::glideStep(w, sqrtHalf);
        u = veridane::glideStep(u, 1.0f);
        const float v = 1.0f - u;
        ASSERT_EQ(bits(block.getSample(0, i)), bits(1.0f * (w * input.getSample(0, i))));
        ASSERT_EQ(bits(block.getSample(1, i)),
                  bits(1.0f * (v * input.getSample(2, i) + u * input.getSample(3, i))));
        ASSERT_EQ(bits(block.getSample(2, i)),
                  bits(1.0f * (v * input.getSample(3, i) + u * input.getSample(1, i))));
        ASSERT_EQ(bits(block.getSample(3, i)),
                  bits(1.0f * (v * input.getSample(1, i) + u * input.getSample(2, i))));
    }
}

TEST(GainGlide, FallsWithTheOnePoleAndKeepsSteppingWhenSilent)
{
    LoomcraftAudioProcessor p;
    p.setParameter(0, 0.0f);
    const float target = p.targetGain.load();
    auto block = veridane::test::constantBlock(1000, 1.0f);
    process(p, block);

    float g = 1.0f;
    for (int i = 0; i < 1000; ++i)
    {
        g = veridane::glideStep(g, target);
        ASSERT_EQ(bits(block.getSample(2, i)), bits(g * 1.0f)) << i;
    }
    EXPECT_EQ(p.currentGain, g);
    EXPECT_LT(block.getSample(2, 999), 0.01f); // about -43 dB after five time constants
}

TEST(BlockLength, BlockLongerThanScratchIsConvertedToTheLastSample)
{
    LoomcraftAudioProcessor whole, chunked;
    whole.setConversionMode(veridane::ambixToFuma);
    chunked.setConversionMode(veridane::ambixToFuma);

    const auto input = rampBlock(10000);
    auto block = input;
    process(whole, block);

    // The same signal as two host blocks of 8,192 and 1,808 samples.
    juce::AudioBuffer<float> first(4, 8192), second(4, 1808);
    for (int c = 0; c < 4; ++c)
    {
        first.copyFrom(c, 0, input, c, 0, 8192);
        second.copyFrom(c, 0, input, c, 8192, 1808);
    }
    process(chunked, first);
    process(chunked, second);

    for (int c = 0; c < 4; ++c)
    {
        for (int i = 0; i < 10000; ++i)
        {
            const float expected = i < 8192 ? first.getSample(c, i) : second.getSample(c, i - 8192);
            ASSERT_EQ(bits(block.getSample(c, i)), bits(expected)) << c << ":" << i;
        }
        EXPECT_EQ(whole.meterLevels[size_t(c)].load(), chunked.meterLevels[size_t(c)].load());
    }
    EXPECT_NE(block.getSample(1, 9999), input.getSample(1, 9999)); // the tail was converted
}

TEST(BlockLength, EmptyBlockSettlesStagesAndLetsMetersFall)
{
    LoomcraftAudioProcessor p;
    for (auto& level : p.meterLevels)
        level = 0.5f;
    p.currentGain = 1.0000005f; // within 1e-6 of the target 1.0
    juce::AudioBuffer<float> empty(4, 0);
    process(p, empty);

    EXPECT_EQ(p.currentGain, 1.0f);
    for (auto& level : p.meterLevels)
        EXPECT_EQ(level.load(), float(0.5 * 0.9));
}

TEST(ChannelCount, BlockWithFewerChannelsIsNeverReadOrWrittenBeyondItsEnd)
{
    for (int numChannels : {0, 1, 2, 3})
    {
        SCOPED_TRACE(numChannels);
        LoomcraftAudioProcessor p;
        // Exactly-sized channel storage, so the address sanitizer sees any stray access.
        std::vector<std::vector<float>> storage(size_t(numChannels), std::vector<float>(64, 0.25f));
        std::vector<float*> pointers;
        for (auto& channel : storage)
            pointers.push_back(channel.data());
        juce::AudioBuffer<float> block(pointers.data(), numChannels, 64);
        process(p, block);

        if (numChannels >= 1)
            EXPECT_EQ(storage[0][10], sqrtTwo * 0.25f);
        if (numChannels == 2)
            EXPECT_EQ(storage[1][10], 0.0f); // reads the absent channel 2 as silence
        EXPECT_EQ(p.meterLevels[0].load() > 0.0f, numChannels >= 1);
        EXPECT_EQ(p.meterLevels[3].load(), 0.0f);
    }
}

TEST(Bypass, PassesTheInputThroughAndHoldsGlidesAndMeters)
{
    LoomcraftAudioProcessor p;
    p.setConversionMode(veridane::ambixToFuma);
    p.meterLevels[5] = 0.4f;
    const auto input = rampBlock(10000);
    auto block = input;
    juce::MidiBuffer midi;
    p.processBlockBypassed(block, midi);

    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 10000; ++i)
            ASSERT_EQ(block.getSample(c, i), input.getSample(c, i));
    EXPECT_EQ(p.currentPermutation, 0.0f);
    EXPECT_EQ(p.currentWeightW, sqrtTwo);
    EXPECT_EQ(p.meterLevels[5].load(), 0.4f);
}
