#pragma once

#include "processor/Glide.h"

#include <atomic>
#include <bit>
#include <cstdint>

namespace veridane
{

/** One glide of the conversion (the W factor, the channel-order position or the gain) through one
    chunk. Audio thread only; the target may be written by any thread.

    A stage settled at the chunk start takes its target and holds it for the whole chunk. Any other
    stage glides group by group: each group reads the target afresh, and while a step would leave
    the stored value as it is (most glides stall a few units in the last place short of their
    target) the stage holds that value instead of stepping, until the target changes. */
class GlideStage
{
public:
    GlideStage(float& value, const std::atomic<float>& targetValue) noexcept
        : current(value), target(targetValue)
    {
    }

    /** The settled test, made once per chunk: within 1e-6 (or NaN) the stage snaps to its target.
     */
    void startChunk() noexcept
    {
        const float t = target.load(std::memory_order_relaxed);
        settled = isSettled(current, t);
        if (settled)
            current = t;
        moving = false;
    }

    /** Reads the target for the next group; answers whether the stage steps in it. */
    bool startGroup() noexcept
    {
        if (settled)
            return false;
        groupTarget = target.load(std::memory_order_relaxed);
        moving = bitsOf(glideStep(current, groupTarget)) != bitsOf(current);
        return moving;
    }

    /** What a run of held values watches: the target, and the bits it had at the group start. */
    struct Watched
    {
        const std::atomic<float>* target;
        std::uint32_t heldFor;

        bool unchanged() const noexcept
        {
            return bitsOf(target->load(std::memory_order_relaxed)) == heldFor;
        }
    };

    /** Answers false for a settled stage, which watches nothing. */
    bool watched(Watched& watch) const noexcept
    {
        watch = {&target, bitsOf(groupTarget)};
        return !settled;
    }

    bool settledForChunk() const noexcept { return settled; }
    float value() const noexcept { return current; }

    /** The stage's values over one group, kept in registers: stepped while it moves, repeated
        while it holds. */
    class Steps
    {
    public:
        float next() noexcept
        {
            if (moving)
                value = glideStep(value, targetShare);
            return value;
        }

    private:
        friend class GlideStage;
        Steps(float start, double share, bool stepping) noexcept
            : value(start), targetShare(share), moving(stepping)
        {
        }

        float value;
        double targetShare;
        bool moving;
    };

    /** The values of the group begun by startGroup; hand them back with finishSteps. */
    Steps steps() const noexcept
    {
        // Computed here, not in the loop: the compiler may not hoist it out of a branch.
        return Steps(current, moving ? glideTargetShare(groupTarget) : 0.0, moving);
    }

    void finishSteps(const Steps& steps) noexcept { current = steps.value; }

private:
    static std::uint32_t bitsOf(float x) noexcept { return std::bit_cast<std::uint32_t>(x); }

    float& current;
    const std::atomic<float>& target;
    bool settled = false;
    bool moving = false;
    /** The target at the last group start, compared as bits: a NaN target equals itself, and
        -0 after +0 counts as a change, since it can give a different step. */
    float groupTarget = 0.0f;
};

/** The three glides of the conversion, in the order the conversion applies them. */
struct ConversionStages
{
    GlideStage weightW;
    GlideStage order;
    GlideStage gain;

    /** The targets a run of held values has to keep an eye on: those of the stages that are not
        settled, gathered once so each look costs a load and a compare per stage. */
    class HoldWatch
    {
    public:
        explicit HoldWatch(const ConversionStages& stages) noexcept
        {
            for (const GlideStage* stage : {&stages.weightW, &stages.order, &stages.gain})
                if (stage->watched(watched[count]))
                    ++count;
        }

        bool empty() const noexcept { return count == 0; }

        bool unchanged() const noexcept
        {
            for (int k = 0; k < count; ++k)
                if (!watched[k].unchanged())
                    return false;
            return true;
        }

    private:
        GlideStage::Watched watched[3]{};
        int count = 0;
    };
};

} // namespace veridane
