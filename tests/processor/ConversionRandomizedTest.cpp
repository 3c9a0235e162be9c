// The processor against a plain per-sample form of the conversion, over long random runs: any
// difference in an output bit, a meter or a glide value between its fast paths and the plain
// arithmetic shows up here, on every vector width this machine has. Beside it, a second processor
// takes the same blocks from separate, crossed or mixed host buffers in one pass, and must match
// the first, which had its inputs copied into its outputs.
#include "ProcessorTestSupport.h"

#include "processor/kernels/KernelDispatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <random>

using veridane::kernels::VectorWidth;
using veridane::test::bits;

namespace
{
/** The conversion one sample at a time, written straight from its rules. */
struct Reference
{
    float weightW = 1.41421354f, position = 0.0f, gain = 1.0f;
    float meters[8] = {};

    static float glide(float current, float target)
    {
        return float(double(current) * 0.995 + double(target) * 0.005);
    }

    /** The settled test; a settled value takes its target. */
    static bool settle(float& current, float target)
    {
        const float difference = std::abs(current - target);
        const bool settled = double(difference) <= 0.000001 || std::isnan(difference);
        if (settled)
            current = target;
        return settled;
    }

    static float meter(float level, float peak)
    {
        const float dB = peak > 0.0f ? std::max(-100.0f, std::log10(peak) * 20.0f) : -100.0f;
        const float x = std::min(dB, 10.0f);
        const double add = x < -60.0f ? 0.0 : (double((x - 10.0f) / 70.0f) + 1.0) * 0.1;
        return float(double(level) * 0.9 + add);
    }

    static void raise(float& peak, float sample)
    {
        if (std::abs(sample) > peak) // NaN never counts
            peak = std::abs(sample);
    }

    void process(std::vector<float*>& channels, int numSamples, const LoomcraftAudioProcessor& p)
    {
        int offset = 0;
        do
        {
            const int n = std::min(numSamples - offset, 8192);
            processChunk(channels, offset, n, p);
            offset += n;
        } while (offset < numSamples);
    }

    void processChunk(std::vector<float*>& channels, int offset, int n,
                      const LoomcraftAudioProcessor& p)
    {
        const float targetW = p.targetWeightW, targetPosition = p.targetPermutation,
                    targetGain = p.targetGain;
        const bool glideW = !settle(weightW, targetW);
        const bool glideOrder = !settle(position, targetPosition);
        const bool glideGain = !settle(gain, targetGain);

        static constexpr int fromAtZero[] = {0, 2, 3, 1}, fromAtOne[] = {0, 3, 1, 2};
        const int numChannels = int(std::min<size_t>(channels.size(), 4));
        float inputPeaks[4] = {}, outputPeaks[4] = {};
        for (int i = offset; i < offset + n; ++i)
        {
            weightW = glideW ? glide(weightW, targetW) : weightW;
            position = glideOrder ? glide(position, targetPosition) : position;
            gain = glideGain ? glide(gain, targetGain) : gain;

            float x[4] = {};
            for (int c = 0; c < numChannels; ++c)
                raise(inputPeaks[c], x[c] = channels[size_t(c)][i]);
            float y[4] = {weightW * x[0]};
            for (int c = 1; c < 4; ++c)
                y[c] = !glideOrder
                           ? x[(position == 0.0f ? fromAtZero : fromAtOne)[c]]
                           : (1.0f - position) * x[fromAtZero[c]] + position * x[fromAtOne[c]];
            for (int c = 0; c < numChannels; ++c)
                raise(outputPeaks[c], channels[size_t(c)][i] = gain * y[c]);
        }
        // Finite input carried to inf: the chunk comes out silent.
        const auto infinite = [](float peak) { return std::isinf(peak); };
        if (std::none_of(inputPeaks, inputPeaks + 4, infinite) &&
            std::any_of(outputPeaks, outputPeaks + 4, infinite))
        {
            std::fill_n(outputPeaks, 4, 0.0f);
            for (int c = 0; c < numChannels; ++c)
                std::fill_n(channels[size_t(c)] + offset, n, 0.0f);
        }
        for (int c = 0; c < 4; ++c)
        {
            meters[c] = meter(meters[c], inputPeaks[c]);
            meters[c + 4] = meter(meters[c + 4], outputPeaks[c]);
        }
    }
};

/** Mostly ordinary samples, with every kind of float that needs care sprinkled in. */
float randomSample(std::mt19937& random)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    static const float specials[] = {
        -0.0f, 0.0f, 1e-40f, -1.4e-45f, inf, -inf, std::numeric_limits<float>::quiet_NaN(), -3e38f};
    if (random() % 50 == 0)
        return specials[random() % std::size(specials)];
    return std::uniform_real_distribution<float>(-2.0f, 2.0f)(random);
}

int randomBlockSize(std::mt19937& random)
{
    switch (random() % 4)
    {
    case 0:
        return int(random() % 65); // 0 to 64: the fixed costs and the scalar tails
    case 1:
        return 8185 + int(random() % 1816); // around and beyond the 8,192-sample chunk
    default:
        return int(random() % 4097);
    }
}

/** Both NaN, or the same bits. */
bool sameOutput(float got, float want)
{
    return std::isnan(got) ? std::isnan(want) : bits(got) == bits(want);
}

/** A block's four inputs copied into host buffers for the one-pass route, each at any float
    position. The outputs are buffers of their own (separate), exactly the inputs of a shuffled
    channel order (crossed, in place now and then), or a mix of both. */
struct HostBuffers
{
    std::vector<std::vector<float>> storage{8};
    const float* inputs[4]{};
    float* outputs[4]{};

    HostBuffers(const juce::AudioBuffer<float>& block, std::mt19937& random)
    {
        const int numSamples = block.getNumSamples();
        auto place = [&](size_t index)
        {
            const int offset = int(random() % 16);
            storage[index].resize(size_t(offset + numSamples) + 1);
            return storage[index].data() + offset;
        };
        float* in[4];
        for (int c = 0; c < 4; ++c)
        {
            inputs[c] = in[c] = place(size_t(c));
            std::copy_n(block.getReadPointer(c), numSamples, in[c]);
        }
        int order[] = {0, 1, 2, 3};
        std::shuffle(std::begin(order), std::end(order), random);
        const unsigned exact = random() % 3; // outputs that are inputs: 0 none, 1 some, 2 all
        for (int c = 0; c < 4; ++c)
            outputs[c] = exact == 2 || (exact == 1 && random() % 2 == 0) ? in[order[c]]
                                                                         : place(size_t(4 + c));
    }
};

struct Scenario
{
    const char* name;
    int changeEveryBlocks; // 0: never
    float gainValues[3];
};

/** Runs `scenario` on the processor and the reference side by side, and on a second processor
    through processOutOfPlace; answers the first mismatch. */
::testing::AssertionResult matchesReference(const Scenario& scenario, unsigned seed)
{
    std::mt19937 random(seed), layoutRandom(seed + 1);
    LoomcraftAudioProcessor p, onePass;
    Reference reference;
    for (int blockIndex = 0; blockIndex < 150; ++blockIndex)
    {
        if (scenario.changeEveryBlocks > 0 && blockIndex % scenario.changeEveryBlocks == 0)
        {
            const int direction = int(random() % 2);
            const float gainValue = scenario.gainValues[random() % 3];
            for (auto* processor : {&p, &onePass})
            {
                processor->setConversionMode(direction);
                processor->setParameter(0, gainValue);
            }
        }

        const int numSamples = randomBlockSize(random);
        const int numChannels = random() % 8 == 0 ? 2 + int(random() % 2) : 4;
        // Channels start at any float position, so vectors meet every alignment.
        std::vector<std::vector<float>> storage(static_cast<size_t>(numChannels));
        std::vector<float*> channels;
        for (auto& channel : storage)
        {
            const int offset = int(random() % 16);
            channel.resize(size_t(offset + numSamples) + 1);
            channels.push_back(channel.data() + offset);
            for (int i = 0; i < numSamples; ++i)
                channels.back()[i] = randomSample(random);
        }
        juce::AudioBuffer<float> block(channels.data(), numChannels, numSamples);
        juce::AudioBuffer<float> expected;
        expected.makeCopyOf(block);
        std::vector<float*> expectedChannels(expected.getArrayOfWritePointers(),
                                             expected.getArrayOfWritePointers() + numChannels);

        // The one-pass route takes four channels; a narrower block goes to processBlock there too.
        std::optional<HostBuffers> host;
        juce::AudioBuffer<float> narrowBlock;
        if (numChannels == 4)
            host.emplace(block, layoutRandom);
        else
            narrowBlock.makeCopyOf(block);

        veridane::test::process(p, block);
        reference.process(expectedChannels, numSamples, p);
        if (host)
            onePass.processOutOfPlace(host->inputs, host->outputs, numSamples);
        else
            veridane::test::process(onePass, narrowBlock);

        const std::string where = " in block " + std::to_string(blockIndex);
        for (int c = 0; c < numChannels; ++c)
            for (int i = 0; i < numSamples; ++i)
            {
                const float got = block.getSample(c, i), want = expected.getSample(c, i);
                if (!sameOutput(got, want))
                    return ::testing::AssertionFailure()
                           << "channel " << c << " sample " << i << where << ": " << got
                           << " instead of " << want;
                if (host && !sameOutput(host->outputs[c][i], got))
                    return ::testing::AssertionFailure()
                           << "one pass, channel " << c << " sample " << i << where;
            }
        for (int k = 0; k < 8; ++k)
        {
            if (bits(p.meterLevels[size_t(k)].load()) != bits(reference.meters[k]))
                return ::testing::AssertionFailure() << "meter " << k << where;
            if (bits(onePass.meterLevels[size_t(k)].load()) != bits(reference.meters[k]))
                return ::testing::AssertionFailure() << "one pass, meter " << k << where;
        }
        for (const auto* processor : {&p, &onePass})
            if (bits(processor->currentWeightW) != bits(reference.weightW) ||
                bits(processor->currentPermutation) != bits(reference.position) ||
                bits(processor->currentGain) != bits(reference.gain))
                return ::testing::AssertionFailure()
                       << (processor == &p ? "" : "one pass, ") << "glide state" << where;
    }
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(ConversionAgainstPlainForm, EveryVectorWidthMatchesSampleBySample)
{
    const Scenario scenarios[] = {
        {"settled", 0, {}},
        {"gliding", 1, {0.9f, 0.5f, 1.0f}},
        {"stalled", 40, {0.84f, 1.0f, 1.5f}},
        {"muted", 3, {-0.5f, 0.9f, -0.5f}},
        {"overflowing", 2, {8.6f, 0.9f, 1.5f}}, // +770 dB: most chunks overflow
    };
    const VectorWidth widest = veridane::kernels::widestSupportedWidth();
    for (const auto width : {VectorWidth::baseline, VectorWidth::avx2, VectorWidth::avx512})
    {
        if (veridane::kernels::useVectorWidthForTesting(width) != width)
        {
            std::printf("vector width %d: not on this CPU, not run\n", int(width));
            continue;
        }
        for (const auto& scenario : scenarios)
        {
            SCOPED_TRACE(std::string(scenario.name) + ", width " + std::to_string(int(width)));
            EXPECT_TRUE(matchesReference(scenario, 1000u + unsigned(width)));
        }
    }
    veridane::kernels::useVectorWidthForTesting(widest);
}
