#pragma once

// What the conversion kernels exchange with the code that drives them. The kernels are compiled
// once per instruction set (baseline, AVX2, AVX-512), so this header holds plain data only: an
// inline function here would be compiled with each set and the linker could keep the wrong one.

namespace veridane::kernels
{

/** Samples between two looks at the targets while a stage holds at a glide's fixed point. A new
    target is promised no earlier moment than "within the block", so a group of this many samples
    runs on the values it started with. */
constexpr int targetCheckInterval = 32;

/** How outputs 1 to 3 come from inputs 1 to 3. */
enum class OrderForm
{
    atZero,   // settled at 0: Y Z X from input positions 2 3 1
    atOne,    // settled at 1: X Y Z from input positions 3 1 2
    crossfade // (1 - u) x the position-0 source + u x the position-1 source
};

/** Largest magnitudes seen so far (NaN never counts): the four channels before conversion and
    after the gain. */
struct Peaks
{
    float inputs[4];
    float outputs[4];
};

/** Factors that stay the same over a whole run. */
struct ConstantFactors
{
    float weightW;
    float position; // used by the crossfade form only
    float gain;
    OrderForm order;
    /** Outputs are a permutation of inputs scaled by non-negative constants, so their peaks follow
        from the input peaks (rounding a product by such a constant is monotonic). */
    bool outputPeaksFromInputs;
};

/** Per-sample factors of one group; position is read by the crossfade form only. */
struct CurveFactors
{
    const float* weightW;
    const float* position;
    const float* gain;
    OrderForm order;
};

/** Asked before each group of targetCheckInterval samples after the first; false stops the run. */
struct TargetWatch
{
    bool (*unchanged)(const void* context) noexcept;
    const void* context;
};

/** One instruction set's kernels. Each converts four distinct channels in place, samples 0 to
    count - 1 (the caller offsets the channel pointers), and raises the peaks. */
struct KernelTable
{
    /** Answers how many samples it converted: all of them, or fewer when the watch (if any)
        reported a new target at a group boundary. */
    int (*constant)(float* const* channels, int count, const ConstantFactors& factors,
                    const TargetWatch* watch, Peaks& peaks) noexcept;
    void (*curves)(float* const* channels, int count, const CurveFactors& factors,
                   Peaks& peaks) noexcept;
};

const KernelTable& baselineKernels() noexcept;
#if defined(VERIDANE_WIDE_KERNELS)
const KernelTable& avx2Kernels() noexcept;
const KernelTable& avx512Kernels() noexcept;
#endif

} // namespace veridane::kernels
