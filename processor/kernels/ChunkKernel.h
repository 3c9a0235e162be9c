#pragma once

#include "processor/GlideStage.h"
#include "processor/kernels/KernelTypes.h"

#include <algorithm>

// The conversion of one chunk as a single pass: each input sample is read once and each output
// sample written once, with the peaks of both found on the way. All four inputs of a sample are
// read before any output of it is written, so the channels are converted in place.
//
// Included by one source file per instruction set, which supplies `Simd` and compiles this file
// for that set (#pragma GCC target) after including everything this file includes: the shared
// inline code (glide steps, atomics) then stays baseline code that is merely inlined here, and
// the instantiations, on a `Simd` of the file's own, belong to that file alone.

namespace veridane::kernels
{

template <class Simd> class ChunkKernel
{
public:
    static ChunkPeaks convert(float* const* channelPointers, int numSamples,
                              ConversionStages& stages) noexcept
    {
        const Block channels{channelPointers[0], channelPointers[1], channelPointers[2],
                             channelPointers[3]};
        ChunkPeaks derived;
        RunningPeaks measured;
        int done = 0;
        while (done < numSamples)
        {
            // Every stage that glides reads its target afresh here.
            const bool stepping =
                stages.weightW.startGroup() | stages.order.startGroup() | stages.gain.startGroup();
            // A gliding group ends on a vector boundary (at most targetCheckInterval samples on),
            // so that only the block's first few samples go one at a time.
            const int past = done + targetCheckInterval;
            const int misalignment =
                (Simd::width - samplesToAlignment(channels.c0 + past)) % Simd::width;
            const int groupEnd = std::min(past - misalignment, numSamples);
            switch (orderForm(stages.order))
            {
            case OrderForm::atZero:
                done = stepping
                           ? glide<OrderForm::atZero>(channels, done, groupEnd, stages, measured)
                           : hold<OrderForm::atZero>(channels, done, numSamples, stages, measured,
                                                     derived);
                break;
            case OrderForm::atOne:
                done = stepping
                           ? glide<OrderForm::atOne>(channels, done, groupEnd, stages, measured)
                           : hold<OrderForm::atOne>(channels, done, numSamples, stages, measured,
                                                    derived);
                break;
            case OrderForm::crossfade:
                done = stepping
                           ? glide<OrderForm::crossfade>(channels, done, groupEnd, stages, measured)
                           : hold<OrderForm::crossfade>(channels, done, numSamples, stages,
                                                        measured, derived);
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

    using Vector = typename Simd::Vector;

    static int samplesToAlignment(const float* p) noexcept
    {
        return kernels::samplesToAlignment<Simd::width>(p);
    }

    /** The four channels, held by value so their pointers stay in registers. */
    struct Block
    {
        float* c0;
        float* c1;
        float* c2;
        float* c3;
    };

    /** Whole vectors of samples. */
    struct Wide
    {
        using Value = Vector;
        static constexpr int step = Simd::width;
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

    /** The samples after the last whole vector, one at a time, with the same operations. */
    struct Narrow
    {
        using Value = float;
        static constexpr int step = 1;
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
        template <class Ops> typename Ops::Value at(int) const noexcept
        {
            return Ops::broadcast(value);
        }
    };

    /** One factor per sample, values[0] belonging to sample `first`. */
    struct Curve
    {
        const float* values;
        int first;
        template <class Ops> typename Ops::Value at(int i) const noexcept
        {
            return Ops::load(values + (i - first));
        }
    };

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

    /** Converts samples [i, end) in steps of Ops::step; a watching run looks at its targets
        whenever it reaches `nextCheck` and then sets the next look targetCheckInterval samples
        on. Answers where it stopped. The peaks run in locals, so they stay in registers. */
    template <class Ops, OrderForm form, bool measureOutputs, class Factor, class Watch>
    static int convertSpan(Block channels, int i, int end, Factor weightW, Factor position,
                           Factor gain, const Watch& watch, int& nextCheck,
                           Running<Ops>& running) noexcept
    {
        using Value = typename Ops::Value;
        float* const c0 = channels.c0;
        float* const c1 = channels.c1;
        float* const c2 = channels.c2;
        float* const c3 = channels.c3;
        Running<Ops> peaks = running;
        for (; i + Ops::step <= end; i += Ops::step)
        {
            if constexpr (Watch::watching)
            {
                if (i >= nextCheck)
                {
                    if (!watch.unchanged())
                        break;
                    nextCheck = i + targetCheckInterval;
                }
            }
            const Value x0 = Ops::load(c0 + i), x1 = Ops::load(c1 + i);
            const Value x2 = Ops::load(c2 + i), x3 = Ops::load(c3 + i);
            peaks.inputs[0] = Ops::magnitudeMax(peaks.inputs[0], x0);
            peaks.inputs[1] = Ops::magnitudeMax(peaks.inputs[1], x1);
            peaks.inputs[2] = Ops::magnitudeMax(peaks.inputs[2], x2);
            peaks.inputs[3] = Ops::magnitudeMax(peaks.inputs[3], x3);

            // W is weighted before the gain, and every output rounds in that order.
            const Value g = gain.template at<Ops>(i);
            const Value y0 = Ops::mul(g, Ops::mul(weightW.template at<Ops>(i), x0));
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
                const Value u = position.template at<Ops>(i);
                const Value v = Ops::sub(Ops::broadcast(1.0f), u);
                y1 = Ops::mul(g, Ops::add(Ops::mul(v, x2), Ops::mul(u, x3)));
                y2 = Ops::mul(g, Ops::add(Ops::mul(v, x3), Ops::mul(u, x1)));
                y3 = Ops::mul(g, Ops::add(Ops::mul(v, x1), Ops::mul(u, x2)));
            }
            Ops::store(c0 + i, y0);
            Ops::store(c1 + i, y1);
            Ops::store(c2 + i, y2);
            Ops::store(c3 + i, y3);
            if constexpr (measureOutputs)
            {
                peaks.outputs[0] = Ops::magnitudeMax(peaks.outputs[0], y0);
                peaks.outputs[1] = Ops::magnitudeMax(peaks.outputs[1], y1);
                peaks.outputs[2] = Ops::magnitudeMax(peaks.outputs[2], y2);
                peaks.outputs[3] = Ops::magnitudeMax(peaks.outputs[3], y3);
            }
        }
        running = peaks;
        return i;
    }

    /** Peaks in vector lanes and in plain floats for the samples after the last whole vector;
        reduced once, when they are read. */
    struct RunningPeaks
    {
        Running<Wide> wide;
        Running<Narrow> narrow;

        /** Converts [begin, end), or up to the group boundary at which the watch objects. */
        template <OrderForm form, bool measureOutputs, class Factor, class Watch = NoWatch>
        int convert(Block channels, int begin, int end, Factor weightW, Factor position,
                    Factor gain, const Watch& watch = {}) noexcept
        {
            int nextCheck = begin + targetCheckInterval;
            const int aligned = std::min(end, begin + samplesToAlignment(channels.c0 + begin));
            int i = convertSpan<Narrow, form, measureOutputs>(
                channels, begin, aligned, weightW, position, gain, watch, nextCheck, narrow);
            if (i < aligned)
                return i; // the watch stopped it
            i = convertSpan<Wide, form, measureOutputs>(channels, i, end, weightW, position, gain,
                                                        watch, nextCheck, wide);
            if (end - i >= Simd::width)
                return i;
            return convertSpan<Narrow, form, measureOutputs>(channels, i, end, weightW, position,
                                                             gain, watch, nextCheck, narrow);
        }

        float input(int c) const noexcept
        {
            return larger(Simd::largest(wide.inputs[c]), narrow.inputs[c]);
        }
        float output(int c) const noexcept
        {
            return larger(Simd::largest(wide.outputs[c]), narrow.outputs[c]);
        }
    };

    /** Samples [begin, end) of a group in which some stage steps. The glide values go one vector
        at a time: the serial chains of one vector's samples then overlap the vector work on the
        samples before them. */
    template <OrderForm form>
    static int glide(Block channels, int begin, int end, ConversionStages& stages,
                     RunningPeaks& peaks) noexcept
    {
        auto stepsW = stages.weightW.steps(), stepsOrder = stages.order.steps(),
             stepsGain = stages.gain.steps();
        RunningPeaks running = peaks; // a local, so the peaks stay in registers
        float weightW[Simd::width], position[Simd::width], gain[Simd::width];
        for (int i = begin, count = 0; i < end; i += count)
        {
            // Sub-blocks end on vector boundaries, so all but the first are whole vectors.
            const int head = samplesToAlignment(channels.c0 + i);
            count = std::min(head == 0 ? Simd::width : head, end - i);
            for (int k = 0; k < count; ++k)
            {
                weightW[k] = stepsW.next();
                position[k] = stepsOrder.next();
                gain[k] = stepsGain.next();
            }
            running.template convert<form, true>(channels, i, i + count, Curve{weightW, i},
                                                 Curve{position, i}, Curve{gain, i});
        }
        peaks = running;
        stages.weightW.finishSteps(stepsW);
        stages.order.finishSteps(stepsOrder);
        stages.gain.finishSteps(stepsGain);
        return end;
    }

    /** Samples from `begin` while no stage steps: constant factors until `end`, or until the
        first group boundary at which a held stage's target has changed. */
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

} // namespace veridane::kernels
