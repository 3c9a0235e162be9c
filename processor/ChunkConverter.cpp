#include "processor/ChunkConverter.h"

#include "processor/kernels/KernelDispatch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace veridane
{
namespace
{
using kernels::targetCheckInterval;

constexpr int numBFormatChannels = 4;

bool overlap(const float* a, const float* b, int numSamples) noexcept
{
    const auto start = [](const float* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const auto bytes = std::uintptr_t(numSamples) * sizeof(float);
    return start(a) < start(b) + bytes && start(b) < start(a) + bytes;
}

bool fourSeparateChannels(const float* const* channels, int numChannels, int numSamples) noexcept
{
    if (numChannels < numBFormatChannels)
        return false;
    for (int c = 0; c < numBFormatChannels; ++c)
        for (int other = c + 1; other < numBFormatChannels; ++other)
            if (overlap(channels[c], channels[other], numSamples))
                return false;
    return true;
}

void raise(float& peak, float sample) noexcept
{
    const float magnitude = std::abs(sample);
    peak = magnitude > peak ? magnitude : peak; // a NaN sample never counts
}

/** Any block the kernels do not take (fewer than four channels, outputs that share memory,
    inputs that are only scaled): one sample at a time, all inputs of a sample read before any
    output is written. */
ChunkPeaks convertEachSample(const float* const* inputs, float* const* outputs, int numChannels,
                             int numConverted, int numSamples, ConversionStages& stages) noexcept
{
    numChannels = std::min(numChannels, numBFormatChannels);
    ChunkPeaks peaks;
    for (int done = 0; done < numSamples; done += targetCheckInterval)
    {
        const int count = std::min(targetCheckInterval, numSamples - done);
        stages.weightW.startGroup();
        stages.order.startGroup();
        stages.gain.startGroup();
        auto stepsW = stages.weightW.steps(), stepsOrder = stages.order.steps(),
             stepsGain = stages.gain.steps();
        const bool settledOrder = stages.order.settledForChunk();
        // A settled position of 0 (or -0) takes Y Z X from input positions 2 3 1, any other 3 1 2.
        static constexpr int fromAtZero[] = {0, 2, 3, 1}, fromAtOne[] = {0, 3, 1, 2};
        const int* from = stages.order.value() == 0.0f ? fromAtZero : fromAtOne;

        for (int k = 0; k < count; ++k)
        {
            const int i = done + k;
            float x[numBFormatChannels] = {};
            for (int c = 0; c < numChannels; ++c)
                raise(peaks.inputs[size_t(c)], x[c] = inputs[c][i]);

            const float weightW = stepsW.next(), u = stepsOrder.next(), gain = stepsGain.next();
            float y[numBFormatChannels] = {weightW * x[0]};
            const float rest = 1.0f - u;
            for (int c = 1; c < numBFormatChannels; ++c)
                y[c] = settledOrder ? x[from[c]] : rest * x[fromAtZero[c]] + u * x[fromAtOne[c]];

            for (int c = 0; c < numChannels; ++c)
                raise(peaks.outputs[size_t(c)],
                      outputs[c][i] = gain * (c < numConverted ? y[c] : x[c]));
        }
        stages.weightW.finishSteps(stepsW);
        stages.order.finishSteps(stepsOrder);
        stages.gain.finishSteps(stepsGain);
    }
    return peaks;
}

/** Whether the conversion itself carried a sample past the largest float: a gain the law allows
    can (8.6 is +770 dB), and so can W's factor near the top of the range. Infinity the host sent
    in is its own and is left alone. */
bool overflowed(const ChunkPeaks& peaks) noexcept
{
    const auto infinite = [](float peak) { return peak == std::numeric_limits<float>::infinity(); };
    return std::none_of(peaks.inputs.begin(), peaks.inputs.end(), infinite) &&
           std::any_of(peaks.outputs.begin(), peaks.outputs.end(), infinite);
}
} // namespace

ChunkPeaks convertChunk(const float* const* inputs, float* const* outputs, int numChannels,
                        int numConverted, int numSamples, ConversionStages& stages) noexcept
{
    stages.weightW.startChunk();
    stages.order.startChunk();
    stages.gain.startChunk();

    ChunkPeaks peaks =
        numConverted >= numBFormatChannels && fourSeparateChannels(outputs, numChannels, numSamples)
            ? kernels::activeKernels().convert(inputs, outputs, numSamples, stages)
            : convertEachSample(inputs, outputs, numChannels, numConverted, numSamples, stages);

    // Rather than hand a host infinity, such a chunk comes out silent. The peaks tell, so the
    // samples are passed over again only then.
    if (overflowed(peaks))
    {
        for (int c = 0; c < std::min(numChannels, numBFormatChannels); ++c)
            std::fill_n(outputs[c], numSamples, 0.0f);
        peaks.outputs = {};
    }
    return peaks;
}

} // namespace veridane
