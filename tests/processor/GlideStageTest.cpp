// One glide through a chunk: the settled test and its snap, the hold at a stalled value, stepping
// again once the target moves, and which targets a held run keeps watching.
#include "processor/GlideStage.h"

#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using veridane::ConversionStages;
using veridane::GlideStage;
using veridane::test::bits;

TEST(GlideStage, ChunkStartSettlesHoldsOrSteps)
{
    const struct
    {
        const char* name;
        float current, target;
        bool settled, steps;
        float valueAfterStart;
    } rows[] = {
        {"within a millionth snaps", 1.0000005f, 1.0f, true, false, 1.0f},
        {"NaN snaps", std::numeric_limits<float>::quiet_NaN(), 0.5f, true, false, 0.5f},
        {"-0 snaps to +0", -0.0f, 0.0f, true, false, 0.0f},
        {"far away steps", 0.0f, 1.0f, false, true, 0.0f},
        {"stalled short of one holds", 0.99999404f, 1.0f, false, false, 0.99999404f},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        std::atomic<float> target{row.target};
        float current = row.current;
        GlideStage stage(current, target);
        stage.startChunk();
        EXPECT_EQ(stage.settledForChunk(), row.settled);
        EXPECT_EQ(stage.startGroup(), row.steps);
        EXPECT_EQ(bits(current), bits(row.valueAfterStart));
    }
}

TEST(GlideStage, HeldValueRepeatsUntilTheTargetMovesThenStepsTowardIt)
{
    std::atomic<float> target{1.0f};
    float current = 0.99999404f;
    GlideStage stage(current, target);
    stage.startChunk();
    ASSERT_FALSE(stage.startGroup());
    auto held = stage.steps();
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(held.next(), 0.99999404f);
    stage.finishSteps(held);

    target = 0.0f;
    ASSERT_TRUE(stage.startGroup());
    auto moving = stage.steps();
    float expected = 0.99999404f;
    for (int i = 0; i < 32; ++i)
    {
        expected = float(double(expected) * 0.995); // the target's share is 0
        ASSERT_EQ(bits(moving.next()), bits(expected)) << i;
    }
    stage.finishSteps(moving);
    EXPECT_EQ(current, expected);
}

TEST(GlideStage, HeldRunWatchesOnlyTheTargetsOfStagesThatAreNotSettled)
{
    std::atomic<float> targetW{1.0f}, targetOrder{1.0f}, targetGain{2.0f};
    float w = 1.0f, order = 0.99999404f, gain = 2.0f;
    ConversionStages stages{{w, targetW}, {order, targetOrder}, {gain, targetGain}};
    for (GlideStage* stage : {&stages.weightW, &stages.order, &stages.gain})
    {
        stage->startChunk();
        stage->startGroup();
    }
    const ConversionStages::HoldWatch watch(stages);
    ASSERT_FALSE(watch.empty());
    EXPECT_TRUE(watch.unchanged());

    targetW = 0.5f; // settled stages keep their value for the chunk, whatever the target does
    targetGain = 3.0f;
    EXPECT_TRUE(watch.unchanged());
    targetOrder = 0.0f;
    EXPECT_FALSE(watch.unchanged());
}
