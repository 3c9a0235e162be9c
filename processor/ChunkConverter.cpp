#include "processor/ChunkConverter.h"

#include "processor/kernels/KernelDispatch.h"

#include <algorithm>
#include <cstdint>

namespace veridane
{
namespace
{
using kernels::ConstantFactors;
using kernels::CurveFactors;
using kernels::OrderForm;
using kernels::Peaks;
using kernels::targetCheckInterval;
using kernels::TargetWatch;

constexpr int numBFormatChannels = 4;

/** A settled order reads its channels straight from the inputs: position 0 (or -0) takes Y Z X
    from input positions 2 3 1, anything else X Y Z from 3 1 2. */
OrderForm settledForm(float position) noexcept
{
    return position == 0.0f ? OrderForm::atZero : OrderForm::atOne;
}

bool overlap(const float* a, const float* b, int numSamples) noexcept
{
    const auto start = [](const float* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const auto bytes = std::uintptr_t(numSamples) * sizeof(float);
    return start(a) < start(b) + bytes && start(b) < start(a) + bytes;
}

bool fourSeparateChannels(float* const* channels, int numChannels, int numSamples) noexcept
{
    if (numChannels < numBFormatChannels)
        return false;
    for (int c = 0; c < numBFormatChannels; ++c)
        for (int other = c + 1; other < numBFormatChannels; ++other)
            if (overlap(channels[c], channels[other], numSamples))
                return false;
    return true;
}

bool holdsStillValid(const void* context) noexcept
{
    const auto& stages = *static_cast<const ConversionStages*>(context);
    return stages.weightW.holdStillValid() && stages.order.holdStillValid() &&
           stages.gain.holdStillValid();
}

/** The usual block: four separate channels, all converted, through the vector kernels. */
class KernelPass
{
public:
    KernelPass(float* const* blockChannels, const kernels::KernelTable& table) noexcept
        : channels(blockChannels), kernels(table)
    {
    }

    int constant(int begin, int count, const ConstantFactors& factors, const TargetWatch* watch,
                 Peaks& peaks) const noexcept
    {
        const auto at = offsetChannels(begin);
        return kernels.constant(at.data(), count, factors, watch, peaks);
    }

    void curves(int begin, int count, const CurveFactors& factors, Peaks& peaks) const noexcept
    {
        const auto at = offsetChannels(begin);
        kernels.curves(at.data(), count, factors, peaks);
    }

private:
    std::array<float*, numBFormatChannels> offsetChannels(int begin) const noexcept
    {
        return {channels[0] + begin, channels[1] + begin, channels[2] + begin, channels[3] + begin};
    }

    float* const* channels;
    const kernels::KernelTable& kernels;
};

/** Anything else (fewer than four channels, channels that share memory, inputs that are only
    scaled): one sample at a time, all inputs of a sample read before any output is written. */
class SamplePass
{
public:
    SamplePass(float* const* blockChannels, int blockChannelCount, int convertedCount) noexcept
        : channels(blockChannels), numChannels(std::min(blockChannelCount, numBFormatChannels)),
          numConverted(convertedCount)
    {
    }

    int constant(int begin, int count, const ConstantFactors& factors, const TargetWatch* watch,
                 Peaks& peaks) const noexcept
    {
        // One group at a time while a held stage may see a new target: the caller looks again.
        const int run = watch != nullptr ? std::min(count, targetCheckInterval) : count;
        for (int i = 0; i < run; ++i)
            convert(begin + i, factors.weightW, factors.position, factors.gain, factors.order,
                    peaks);
        return run;
    }

    void curves(int begin, int count, const CurveFactors& factors, Peaks& peaks) const noexcept
    {
        for (int i = 0; i < count; ++i)
            convert(begin + i, factors.weightW[i],
                    factors.order == OrderForm::crossfade ? factors.position[i] : 0.0f,
                    factors.gain[i], factors.order, peaks);
    }

private:
    static void raise(float& peak, float sample) noexcept
    {
        const float magnitude = std::abs(sample);
        peak = magnitude > peak ? magnitude : peak;
    }

    void convert(int i, float weightW, float position, float gain, OrderForm order,
                 Peaks& peaks) const noexcept
    {
        float x[numBFormatChannels] = {};
        for (int c = 0; c < numChannels; ++c)
            raise(peaks.inputs[c], x[c] = channels[c][i]);

        float y[numBFormatChannels] = {weightW * x[0]};
        if (order == OrderForm::atZero)
        {
            y[1] = x[2];
            y[2] = x[3];
            y[3] = x[1];
        }
        else if (order == OrderForm::atOne)
        {
            y[1] = x[3];
            y[2] = x[1];
            y[3] = x[2];
        }
        else
        {
            const float rest = 1.0f - position;
            y[1] = rest * x[2] + position * x[3];
            y[2] = rest * x[3] + position * x[1];
            y[3] = rest * x[1] + position * x[2];
        }

        for (int c = 0; c < numChannels; ++c)
            raise(peaks.outputs[c], channels[c][i] = gain * (c < numConverted ? y[c] : x[c]));
    }

    float* const* channels;
    int numChannels;
    int numConverted;
};

/** Runs the chunk group by group. While no stage steps, one call converts with constants until
    the end or until a held stage's target changes; a group in which any stage steps gets its
    per-sample values first, and the vector work of one group overlaps the serial glide chains
    of the next. */
template <class Pass> Peaks run(const Pass& pass, int numSamples, ConversionStages& stages) noexcept
{
    Peaks peaks{};
    float curveW[targetCheckInterval], curveOrder[targetCheckInterval],
        curveGain[targetCheckInterval];

    int done = 0;
    while (done < numSamples)
    {
        // Each stage reads its target afresh here, at most targetCheckInterval samples apart.
        const bool stepping =
            stages.weightW.startGroup() | stages.order.startGroup() | stages.gain.startGroup();
        const OrderForm form = stages.order.settledForChunk() ? settledForm(stages.order.value())
                                                              : OrderForm::crossfade;
        if (!stepping)
        {
            const float weightW = stages.weightW.value(), gain = stages.gain.value();
            const ConstantFactors factors{weightW, stages.order.value(), gain, form,
                                          form != OrderForm::crossfade && !(weightW < 0.0f) &&
                                              !(gain < 0.0f)};
            const bool allSettled = stages.weightW.settledForChunk() &&
                                    stages.order.settledForChunk() && stages.gain.settledForChunk();
            const TargetWatch watch{&holdsStillValid, &stages};
            done += pass.constant(done, numSamples - done, factors, allSettled ? nullptr : &watch,
                                  peaks);
        }
        else
        {
            const int count = std::min(targetCheckInterval, numSamples - done);
            GlideStage::fillCurves(stages.weightW, stages.order, stages.gain, curveW, curveOrder,
                                   curveGain, count);
            pass.curves(done, count, CurveFactors{curveW, curveOrder, curveGain, form}, peaks);
            done += count;
        }
    }
    return peaks;
}
} // namespace

ChunkPeaks convertChunk(float* const* channels, int numChannels, int numConverted, int numSamples,
                        ConversionStages& stages) noexcept
{
    stages.weightW.startChunk();
    stages.order.startChunk();
    stages.gain.startChunk();

    const bool usual = numConverted >= numBFormatChannels &&
                       fourSeparateChannels(channels, numChannels, numSamples);
    const Peaks peaks =
        usual ? run(KernelPass(channels, kernels::activeKernels()), numSamples, stages)
              : run(SamplePass(channels, numChannels, numConverted), numSamples, stages);

    ChunkPeaks result;
    std::copy(peaks.inputs, peaks.inputs + numBFormatChannels, result.inputs.begin());
    std::copy(peaks.outputs, peaks.outputs + numBFormatChannels, result.outputs.begin());
    return result;
}

} // namespace veridane
