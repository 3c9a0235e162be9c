// The editor opcodes without a display, as a scanner or a headless host runs the plug-in.
#include "tests/wrappers/WrapperTestSupport.h"

#include <cstdlib>

using namespace wrappertest;

namespace
{
struct NoDisplay : ::testing::Environment
{
    void SetUp() override { ::unsetenv("DISPLAY"); }
};
const auto* const noDisplay = ::testing::AddGlobalTestEnvironment(new NoDisplay);

} // namespace

TEST(WrapperEditor, WithoutDisplayRectIsZeroAndNoEditorIsMade)
{
    Instance instance;
    ERect* rect = nullptr;
    EXPECT_EQ(instance.dispatch(effEditGetRect, 0, 0, &rect), 0);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 0);
    EXPECT_EQ(rect->right, 0);
    EXPECT_EQ(instance.processor().getActiveEditor(), nullptr);
    EXPECT_EQ(instance.dispatch(effEditGetRect, 0, 0, nullptr), 0);
}

TEST(WrapperEditor, WithoutDisplayOpenAnswersZeroAndTheInstanceStillRunsAndSaves)
{
    Instance instance;
    instance.start();
    EXPECT_EQ(instance.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234567)), 0);
    EXPECT_EQ(instance.dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(instance.dispatch(effEditIdle), 0);
    EXPECT_EQ(instance.dispatch(effEditClose), 0);
    EXPECT_EQ(instance.dispatch(effEditClose), 0);

    auto signal = testSignal(512);
    float* channels[numChannels];
    for (int c = 0; c < numChannels; ++c)
        channels[c] = signal[size_t(c)].data();
    instance.process(channels, channels, 512);
    instance.effect->setParameter(instance.effect, 0, 0.2f);
    EXPECT_EQ(instance.chunk(), bytesOf(veridane::writeStateBlock(0.2f, 0)));
}
