// The editor opcodes and the instance lifecycle without a display, as a scanner or a headless
// host runs the plug-in.
#include "tests/wrappers/WrapperTestSupport.h"

#include "wrappers/common/MessageThread.h"

#include <cstdlib>

using namespace wrappertest;
using veridane::wrappers::MessageThread;

namespace
{
struct NoDisplay : ::testing::Environment
{
    void SetUp() override { ::unsetenv("DISPLAY"); }
};
const auto* const noDisplay = ::testing::AddGlobalTestEnvironment(new NoDisplay);

bool guiIsShutDown()
{
    return !MessageThread::isRunning() &&
           juce::MessageManager::getInstanceWithoutCreating() == nullptr;
}
} // namespace

TEST(WrapperEditor, RectIsTheEditorsSizeAndStaysReadable)
{
    Instance instance;
    ERect* rect = nullptr;
    ASSERT_EQ(instance.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 233);
    EXPECT_EQ(rect->right, 443);

    instance.dispatch(effEditClose);
    EXPECT_EQ(rect->right, 443);
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

TEST(WrapperLifecycle, GuiRunsWhileAnyInstanceLivesAndStopsAfterTheLast)
{
    for (int round = 0; round < 3; ++round)
    {
        SCOPED_TRACE(round);
        auto first = std::make_unique<Instance>();
        auto second = std::make_unique<Instance>();
        ERect* rect = nullptr;
        first->start();
        EXPECT_EQ(first->dispatch(effEditGetRect, 0, 0, &rect), 1); // an editor exists

        first.reset();
        EXPECT_TRUE(MessageThread::isRunning());
        EXPECT_EQ(second->dispatch(effEditGetRect, 0, 0, &rect), 1);
        second.reset();
        EXPECT_TRUE(guiIsShutDown());
    }
}
