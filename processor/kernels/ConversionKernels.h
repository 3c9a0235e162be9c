#pragma once

#include "processor/kernels/KernelTypes.h"

// The conversion as one pass over a chunk: each input sample is read once and each output sample
// written once, with the peaks of both found on the way. All four inputs of a sample are read
// before any output of it is written, so the channels can be converted in place.
//
// Included by one source file per instruction set, which supplies `Simd` (a type of its own, in an
// anonymous namespace). Everything here is a member of the template, so every instruction set gets
// its own copy and none of it can be merged across sets by the linker.

namespace veridane::kernels
{

template <class Simd> struct ConversionKernels
{
    static int constant(float* const* channels, int count, const ConstantFactors& factors,
                        const TargetWatch* watch, Peaks& peaks) noexcept
    {
        switch (factors.order)
        {
        case OrderForm::atZero:
            return factors.outputPeaksFromInputs
                       ? runConstant<OrderForm::atZero, false>(channels, count, factors, watch,
                                                               peaks)
                       : runConstant<OrderForm::atZero, true>(channels, count, factors, watch,
                                                              peaks);
        case OrderForm::atOne:
            return factors.outputPeaksFromInputs
                       ? runConstant<OrderForm::atOne, false>(channels, count, factors, watch,
                                                              peaks)
                       : runConstant<OrderForm::atOne, true>(channels, count, factors, watch,
                                                             peaks);
        case OrderForm::crossfade:
            break;
        }
        return runConstant<OrderForm::crossfade, true>(channels, count, factors, watch, peaks);
    }

    static void curves(float* const* channels, int count, const CurveFactors& factors,
                       Peaks& peaks) noexcept
    {
        switch (factors.order)
        {
        case OrderForm::atZero:
            return runCurves<OrderForm::atZero>(channels, count, factors, peaks);
        case OrderForm::atOne:
            return runCurves<OrderForm::atOne>(channels, count, factors, peaks);
        case OrderForm::crossfade:
            return runCurves<OrderForm::crossfade>(channels, count, factors, peaks);
        }
    }

private:
    using Vector = typename Simd::Vector;

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

    /** The samples left over after the last whole vector, one at a time, same operations. */
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
            // Same rule as the vector form: a NaN magnitude never wins.
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

    struct Fixed
    {
        float value;
        template <class Ops> typename Ops::Value at(int) const noexcept
        {
            return Ops::broadcast(value);
        }
    };

    struct Curve
    {
        const float* values;
        template <class Ops> typename Ops::Value at(int i) const noexcept
        {
            return Ops::load(values + i);
        }
    };

    /** Converts samples [i, end) in steps of Ops::step; answers where it stopped. */
    template <class Ops, OrderForm form, bool measureOutputs, class Weight, class Position,
              class Gain>
    static int convert(float* const* channels, int i, int end, Weight weightW, Position position,
                       Gain gain, Running<Ops>& peaks) noexcept
    {
        using Value = typename Ops::Value;
        float* const c0 = channels[0];
        float* const c1 = channels[1];
        float* const c2 = channels[2];
        float* const c3 = channels[3];
        for (; i + Ops::step <= end; i += Ops::step)
        {
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
        return i;
    }

    struct RunningPeaks
    {
        Running<Wide> wide;
        Running<Narrow> narrow;

        template <OrderForm form, bool measureOutputs, class Weight, class Position, class Gain>
        void convert(float* const* channels, int begin, int end, Weight weightW, Position position,
                     Gain gain) noexcept
        {
            const int rest = ConversionKernels::convert<Wide, form, measureOutputs>(
                channels, begin, end, weightW, position, gain, wide);
            ConversionKernels::convert<Narrow, form, measureOutputs>(channels, rest, end, weightW,
                                                                     position, gain, narrow);
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

    /** Peaks are never NaN, so a plain comparison combines them; a NaN candidate (a derived
        0 x infinity) is skipped like a NaN sample. */
    static float larger(float peak, float candidate) noexcept
    {
        return candidate > peak ? candidate : peak;
    }

    template <OrderForm form, bool measureOutputs>
    static int runConstant(float* const* channels, int count, const ConstantFactors& factors,
                           const TargetWatch* watch, Peaks& peaks) noexcept
    {
        RunningPeaks running;
        const Fixed weightW{factors.weightW}, position{factors.position}, gain{factors.gain};
        int done = 0;
        if (watch == nullptr)
        {
            running.template convert<form, measureOutputs>(channels, 0, count, weightW, position,
                                                           gain);
            done = count;
        }
        while (done < count)
        {
            if (done > 0 && !watch->unchanged(watch->context))
                break;
            const int end = count - done > targetCheckInterval ? done + targetCheckInterval : count;
            running.template convert<form, measureOutputs>(channels, done, end, weightW, position,
                                                           gain);
            done = end;
        }

        float inputs[4];
        for (int c = 0; c < 4; ++c)
            peaks.inputs[c] = larger(peaks.inputs[c], inputs[c] = running.input(c));
        if constexpr (measureOutputs)
        {
            for (int c = 0; c < 4; ++c)
                peaks.outputs[c] = larger(peaks.outputs[c], running.output(c));
        }
        else
        {
            // The same products the samples went through, applied to the largest magnitudes.
            constexpr bool atZero = form == OrderForm::atZero;
            const float g = factors.gain;
            peaks.outputs[0] = larger(peaks.outputs[0], g * (factors.weightW * inputs[0]));
            peaks.outputs[1] = larger(peaks.outputs[1], g * inputs[atZero ? 2 : 3]);
            peaks.outputs[2] = larger(peaks.outputs[2], g * inputs[atZero ? 3 : 1]);
            peaks.outputs[3] = larger(peaks.outputs[3], g * inputs[atZero ? 1 : 2]);
        }
        return done;
    }

    template <OrderForm form>
    static void runCurves(float* const* channels, int count, const CurveFactors& factors,
                          Peaks& peaks) noexcept
    {
        RunningPeaks running;
        running.template convert<form, true>(channels, 0, count, Curve{factors.weightW},
                                             Curve{factors.position}, Curve{factors.gain});
        for (int c = 0; c < 4; ++c)
        {
            peaks.inputs[c] = larger(peaks.inputs[c], running.input(c));
            peaks.outputs[c] = larger(peaks.outputs[c], running.output(c));
        }
    }
};

} // namespace veridane::kernels
