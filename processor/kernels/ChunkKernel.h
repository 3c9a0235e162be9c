#pragma once

#include "processor/GlideStage.h"
#include "processor/kernels/KernelTypes.h"

#include <algorithm>

// The conversion of one chunk as a single pass: each input sample is read once and each output
// sample written once, with the peaks of both found on the way. Every step (a vector, part of one,
// or one sample) reads all four inputs at its positions before it writes any output there, and
// the steps go forward without overlapping: so the outputs may be the inputs (in place), or an
// output may be exactly another channel's input (crossed host buffers). Only outputs apart from
// every input let a step at the edge of a run overlap its neighbour, converting a few samples twice
// to the same values.
//
// Included by one source file per instruction set, which supplies `Simd` and compiles this file
// for that set (#pragma GCC target) after including everything this file includes: the shared
// inline code (glide steps, atomics) then stays baseline code that is merely inlined here, and
// the instantiations, on a `Simd` of the file's own, belong to that file alone.

namespace veridane::kernels
{

/** The conversion on `Block`, an InPlaceBlock or an OutOfPlaceBlock. */
template <class Simd, class Block> class ChunkPass
{
public:
    static ChunkPeaks convert(const float* const* inputs, float* const* outputs, int numSamples,
                              ConversionStages& stages) noexcept
    {
        const Block channels = Block::of(inputs, outputs);
        ChunkPeaks derived;
        RunningPeaks measured;
        int done = 0;
        while (done < numSamples)
        {
            // Every stage that glides reads its target afresh here. A gliding group ends on a
            // vector boundary, at most targetCheckInterval samples on.
            const bool stepping =
                stages.weightW.startGroup() | stages.order.startGroup() | stages.gain.startGroup();
            const int past = done + targetCheckInterval;
            const int groupEnd =
                std::min(past - misalignment(channels.output(0) + past), numSamples);
            switch (orderForm(stages.order))
            {
            case OrderForm::atZero:
                done = runGroup<OrderForm::atZero>(stepping, channels, done, groupEnd, numSamples,
                                                   stages, measured, derived);
                break;
            case OrderForm::atOne:
                done = runGroup<OrderForm::atOne>(stepping, channels, done, groupEnd, numSamples,
                                                  stages, measured, derived);
                break;
            case OrderForm::crossfade:
                done = runGroup<OrderForm::crossfade>(stepping, channels, done, groupEnd,
                                                      numSamples, stages, measured, derived);
                break;
            }
        }

        ChunkPeaks peaks;
        for (int c = 0; c < 4; ++c)
        {
            peaks.inputs[size_t(c)] = larger(derived.inputs[size_t(c)], measured.input(c));
            peaks.outputs[size_t(c)] = larger(derived.outputs[size_t(c)], measured.output(c));
        }
        return peaks;
    }

private:
    /** How outputs 1 to 3 come from inputs 1 to 3. */
    enum class OrderForm
    {
        atZero,   // settled at 0 (or -0): Y Z X from input positions 2 3 1
        atOne,    // settled anywhere else: X Y Z from input positions 3 1 2
        crossfade // (1 - u) x the position-0 source + u x the position-1 source
    };

    static OrderForm orderForm(const GlideStage& order) noexcept
    {
        if (!order.settledForChunk())
            return OrderForm::crossfade;
        return order.value() == 0.0f ? OrderForm::atZero : OrderForm::atOne;
    }

    /** Peaks are never NaN, so a plain comparison combines them; a NaN candidate (a derived
        0 x infinity) is skipped like a NaN sample. */
    static float larger(float peak, float candidate) noexcept
    {
        return candidate > peak ? candidate : peak;
    }

    static int misalignment(const float* p) noexcept
    {
        return (Simd::width - samplesToAlignment<Simd::width>(p)) % Simd::width;
    }

    using Vector = typename Simd::Vector;

    /** One whole vector of samples. */
    struct Whole
    {
        using Value = Vector;
        using Lanes = Whole; // whose running peaks a step raises
        static Value load(const float* p) noexcept { return Simd::load(p); }
        static void store(float* p, Value v) noexcept { Simd::store(p, v); }
        static Value broadcast(float x) noexcept { return Simd::broadcast(x); }
        static Value add(Value a, Value b) noexcept { return Simd::add(a, b); }
        static Value sub(Value a, Value b) noexcept { return Simd::sub(a, b); }
        static Value mul(Value a, Value b) noexcept { return Simd::mul(a, b); }
        static Value magnitudeMax(Value peak, Value x) noexcept
        {
            return Simd::magnitudeMax(peak, x);
        }
    };

    /** The first `count` lanes of a vector: the rest read as 0 and are never written; their
        results (0, or a NaN from 0 x infinity) raise no peak. For the samples before the first
        aligned vector and after the last. */
    struct Part : Whole
    {
        int count;
        typename Whole::Value load(const float* p) const noexcept
        {
            return Simd::loadFirst(p, count);
        }
        void store(float* p, typename Whole::Value v) const noexcept
        {
            Simd::storeFirst(p, v, count);
        }
    };

    /** One sample, for sets without masked loads and stores. */
    struct Single
    {
        using Value = float;
        using Lanes = Single;
        static Value load(const float* p) noexcept { return *p; }
        static void store(float* p, Value v) noexcept { *p = v; }
        static Value broadcast(float x) noexcept { return x; }
        static Value add(Value a, Value b) noexcept { return a + b; }
        static Value sub(Value a, Value b) noexcept { return a - b; }
        static Value mul(Value a, Value b) noexcept { return a * b; }
        static Value magnitudeMax(Value peak, Value x) noexcept
        {
            // The vector rule: a NaN magnitude never wins.
            const float magnitude = __builtin_fabsf(x);
            return magnitude > peak ? magnitude : peak;
        }
    };

    template <class Ops> struct Running
    {
        typename Ops::Value inputs[4];
        typename Ops::Value outputs[4];

        Running() noexcept
        {
            for (int c = 0; c < 4; ++c)
                inputs[c] = outputs[c] = Ops::broadcast(0.0f);
        }
    };

    /** The same factor for every sample. */
    struct Fixed
    {
        float value;
        template <class Ops> typename Ops::Value at(const Ops&, int) const noexcept
        {
            return Ops::broadcast(value);
        }
    };

    /** One factor per sample, values[0] belonging to sample `first`. */
    struct Curve
    {
        const float* values;
        int first;
        template <class Ops> typename Ops::Value at(const Ops& ops, int i) const noexcept
        {
            return ops.load(values + (i - first));
        }
    };

    /** Converts the samples of one step (a vector, part of one, or one sample) at `i`. */
    template <OrderForm form, bool measureOutputs, class Ops, class Factor>
    static void convertStep(const Ops& ops, Block channels, int i, Factor weightW, Factor position,
                            Factor gain, Running<typename Ops::Lanes>& peaks) noexcept
    {
        using Value = typename Ops::Value;
        const Value x0 = ops.load(channels.input(0) + i), x1 = ops.load(channels.input(1) + i);
        const Value x2 = ops.load(channels.input(2) + i), x3 = ops.load(channels.input(3) + i);
        peaks.inputs[0] = Ops::magnitudeMax(peaks.inputs[0], x0);
        peaks.inputs[1] = Ops::magnitudeMax(peaks.inputs[1], x1);
        peaks.inputs[2] = Ops::magnitudeMax(peaks.inputs[2], x2);
        peaks.inputs[3] = Ops::magnitudeMax(peaks.inputs[3], x3);

        // W is weighted before the gain, and every output rounds in that order.
        const Value g = gain.at(ops, i);
        const Value y0 = Ops::mul(g, Ops::mul(weightW.at(ops, i), x0));
        Value y1, y2, y3;
        if constexpr (form == OrderForm::atZero)
        {
            y1 = Ops::mul(g, x2);
            y2 = Ops::mul(g, x3);
            y3 = Ops::mul(g, x1);
        }
        else if constexpr (form == OrderForm::atOne)
        {
            y1 = Ops::mul(g, x3);
            y2 = Ops::mul(g, x1);
            y3 = Ops::mul(g, x2);
        }
        else
        {
            const Value u = position.at(ops, i);
            const Value v = Ops::sub(Ops::broadcast(1.0f), u);
            y1 = Ops::mul(g, Ops::add(Ops::mul(v, x2), Ops::mul(u, x3)));
            y2 = Ops::mul(g, Ops::add(Ops::mul(v, x3), Ops::mul(u, x1)));
            y3 = Ops::mul(g, Ops::add(Ops::mul(v, x1), Ops::mul(u, x2)));
        }
        ops.store(channels.output(0) + i, y0);
        ops.store(channels.output(1) + i, y1);
        ops.store(channels.output(2) + i, y2);
        ops.store(channels.output(3) + i, y3);
        if constexpr (measureOutputs)
        {
            peaks.outputs[0] = Ops::magnitudeMax(peaks.outputs[0], y0);
            peaks.outputs[1] = Ops::magnitudeMax(peaks.outputs[1], y1);
            peaks.outputs[2] = Ops::magnitudeMax(peaks.outputs[2], y2);
            peaks.outputs[3] = Ops::magnitudeMax(peaks.outputs[3], y3);
        }
    }

    /** Never asks: for runs in which every stage is settled, and for the groups of a glide. */
    struct NoWatch
    {
        static constexpr bool watching = false;
        bool unchanged() const noexcept { return true; }
    };

    struct TargetWatch : ConversionStages::HoldWatch
    {
        using ConversionStages::HoldWatch::HoldWatch;
        static constexpr bool watching = true;
    };

    /** Samples [i, i + count), fewer than a whole vector: as a part vector, or one at a time. */
    template <OrderForm form, bool measureOutputs, class Factor>
    static void convertEdge(Block channels, int i, int count, Factor weightW, Factor position,
                            Factor gain, Running<Whole>& wide, Running<Single>& narrow) noexcept
    {
        if constexpr (Simd::partialVectors)
            convertStep<form, measureOutputs>(Part{{}, count}, channels, i, weightW, position, gain,
                                              wide);
        else
            for (int k = 0; k < count; ++k)
                convertStep<form, measureOutputs>(Single{}, channels, i + k, weightW, position,
                                                  gain, narrow);
    }

    /** Peaks in vector lanes and in plain floats (for sets without masked vectors); reduced
        once, when they are read. */
    struct RunningPeaks
    {
        Running<Whole> lanes;
        Running<Single> singles;

        /** Converts [begin, end): whole vectors from the first aligned sample, the samples
            before and after as part vectors (or one at a time). A watching run looks at its
            targets at least every targetCheckInterval samples and stops at the first look that
            finds one changed; answers where it stopped. */
        template <OrderForm form, bool measureOutputs, class Factor, class Watch = NoWatch>
        int convert(Block channels, int begin, int end, Factor weightW, Factor position,
                    Factor gain, const Watch& watch = {}) noexcept
        {
            Running<Whole> wide = lanes; // locals, so the peaks stay in registers
            Running<Single> narrow = singles;
            int i = begin;
            // Outputs apart from every input let an edge go as a whole vector that overlaps its
            // aligned neighbour: it reads the same inputs and writes the same values again, and
            // the factors are the same throughout the run. A masked store costs several plain
            // ones on some processors.
            const bool wholeEdges = channels.outputsApart() && end - begin >= Simd::width;
            // Inlined: a call would take the addresses of the peaks and the channel pointers,
            // which then live in memory through the loop below, every vector waiting on a store.
            auto edge = [&](int count, int wholeFrom) __attribute__((always_inline))
            {
                if (wholeEdges)
                    convertStep<form, measureOutputs>(Whole{}, channels, wholeFrom, weightW,
                                                      position, gain, wide);
                else
                    convertEdge<form, measureOutputs>(channels, i, count, weightW, position, gain,
                                                      wide, narrow);
                i += count;
            };

            if (const int head =
                    std::min(samplesToAlignment<Simd::width>(channels.output(0) + i), end - i);
                head > 0)
                edge(head, i);
            int nextCheck = begin + targetCheckInterval;
            auto targetsStand = [&]
            {
                if constexpr (Watch::watching)
                {
                    if (i >= nextCheck)
                    {
                        if (!watch.unchanged())
                            return false;
                        nextCheck = i + targetCheckInterval;
                    }
                }
                return true;
            };
            for (; i + Simd::width <= end && targetsStand(); i += Simd::width)
                convertStep<form, measureOutputs>(Whole{}, channels, i, weightW, position, gain,
                                                  wide);
            if (i + Simd::width > end && i < end && targetsStand())
                edge(end - i, end - Simd::width);

            lanes = wide;
            singles = narrow;
            return i;
        }

        float input(int c) const noexcept
        {
            return larger(Simd::largest(lanes.inputs[c]), singles.inputs[c]);
        }
        float output(int c) const noexcept
        {
            return larger(Simd::largest(lanes.outputs[c]), singles.outputs[c]);
        }
    };

    /** A group in which some stage steps glides to `groupEnd`; otherwise the held values run
        on toward `end`. Answers where it stopped. */
    template <OrderForm form>
    static int runGroup(bool stepping, Block channels, int begin, int groupEnd, int end,
                        ConversionStages& stages, RunningPeaks& measured,
                        ChunkPeaks& derived) noexcept
    {
        return stepping ? glide<form>(channels, begin, groupEnd, stages, measured)
                        : hold<form>(channels, begin, end, stages, measured, derived);
    }

    /** Samples [begin, end) of a group in which some stage steps. The glide values go one vector
        at a time: the serial chains of one vector's samples then overlap the vector work on the
        samples before them. */
    template <OrderForm form>
    static int glide(Block channels, int begin, int end, ConversionStages& stages,
                     RunningPeaks& peaks) noexcept
    {
        auto stepsW = stages.weightW.steps(), stepsOrder = stages.order.steps(),
             stepsGain = stages.gain.steps();
        Running<Whole> wide = peaks.lanes; // locals, so the peaks stay in registers
        Running<Single> narrow = peaks.singles;
        alignas(64) float weightW[Simd::width], position[Simd::width], gain[Simd::width];
        for (int i = begin, count = 0; i < end; i += count)
        {
            // Pieces end on vector boundaries, so all but the first are whole vectors.
            const int head = samplesToAlignment<Simd::width>(channels.output(0) + i);
            count = std::min(head == 0 ? Simd::width : head, end - i);
            for (int k = 0; k < count; ++k)
            {
                weightW[k] = stepsW.next();
                position[k] = stepsOrder.next();
                gain[k] = stepsGain.next();
            }
            const Curve w{weightW, i}, u{position, i}, g{gain, i};
            if (count == Simd::width)
                convertStep<form, true>(Whole{}, channels, i, w, u, g, wide);
            else
                convertEdge<form, true>(channels, i, count, w, u, g, wide, narrow);
        }
        peaks.lanes = wide;
        peaks.singles = narrow;
        stages.weightW.finishSteps(stepsW);
        stages.order.finishSteps(stepsOrder);
        stages.gain.finishSteps(stepsGain);
        return end;
    }

    /** Samples from `begin` while no stage steps: constant factors until `end`, or until a look
        at the targets finds that a held stage's target has changed. */
    template <OrderForm form>
    static int hold(Block channels, int begin, int end, const ConversionStages& stages,
                    RunningPeaks& measured, ChunkPeaks& derived) noexcept
    {
        const Fixed weightW{stages.weightW.value()}, position{stages.order.value()},
            gain{stages.gain.value()};
        // A permutation scaled by non-negative constants: the output peaks follow from the input
        // peaks, since rounding a product by such a constant is monotonic.
        const bool outputsFromInputs =
            form != OrderForm::crossfade && !(weightW.value < 0.0f) && !(gain.value < 0.0f);
        if (!outputsFromInputs)
            return holdRun<form, true>(channels, begin, end, stages, weightW, position, gain,
                                       measured);

        RunningPeaks run;
        const int stop =
            holdRun<form, false>(channels, begin, end, stages, weightW, position, gain, run);
        float in[4];
        for (int c = 0; c < 4; ++c)
            derived.inputs[size_t(c)] = larger(derived.inputs[size_t(c)], in[c] = run.input(c));
        // The same products the samples went through, applied to the largest magnitudes.
        constexpr bool atZero = form == OrderForm::atZero;
        const float outputs[4] = {gain.value * (weightW.value * in[0]),
                                  gain.value * in[atZero ? 2 : 3], gain.value * in[atZero ? 3 : 1],
                                  gain.value * in[atZero ? 1 : 2]};
        for (int c = 0; c < 4; ++c)
            derived.outputs[size_t(c)] = larger(derived.outputs[size_t(c)], outputs[c]);
        return stop;
    }

    template <OrderForm form, bool measureOutputs>
    static int holdRun(Block channels, int begin, int end, const ConversionStages& stages,
                       Fixed weightW, Fixed position, Fixed gain, RunningPeaks& peaks) noexcept
    {
        const TargetWatch watch(stages);
        if (watch.empty())
            return peaks.template convert<form, measureOutputs>(channels, begin, end, weightW,
                                                                position, gain);
        return peaks.template convert<form, measureOutputs>(channels, begin, end, weightW, position,
                                                            gain, watch);
    }
};

/** The conversion of one chunk: in place when every output is its own channel's input. */
template <class Simd> struct ChunkKernel
{
    static ChunkPeaks convert(const float* const* inputs, float* const* outputs, int numSamples,
                              ConversionStages& stages) noexcept
    {
        if (inputs[0] == outputs[0] && inputs[1] == outputs[1] && inputs[2] == outputs[2] &&
            inputs[3] == outputs[3])
            return ChunkPass<Simd, InPlaceBlock>::convert(inputs, outputs, numSamples, stages);
        return ChunkPass<Simd, OutOfPlaceBlock>::convert(inputs, outputs, numSamples, stages);
    }
};

} // namespace veridane::kernels
